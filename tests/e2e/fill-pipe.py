#!/usr/bin/env python3
"""Fills a FIFO that someone holds open and never reads until it takes no
more, as a reader that stopped reading leaves it. Usage: fill-pipe.py FIFO"""
import os
import sys

fd = os.open(sys.argv[1], os.O_WRONLY | os.O_NONBLOCK)
try:
    while True:
        os.write(fd, b"x" * 4096)
except BlockingIOError:
    pass
