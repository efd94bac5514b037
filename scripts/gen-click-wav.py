#!/usr/bin/env python3
"""Writes wav/check.wav, the click played by the past-data window's mode
buttons: 40 ms of a 1.8 kHz tone over a short noise burst, falling away
quickly. 44.1 kHz, 16-bit mono. Deterministic, so the file is reproducible.

Usage: scripts/gen-click-wav.py wav/check.wav
"""
import math
import random
import struct
import sys
import wave

RATE = 44100
LENGTH = int(0.040 * RATE)

noise = random.Random(1)
samples = []
for n in range(LENGTH):
    t = n / RATE
    envelope = math.exp(-t / 0.006)
    tone = math.sin(2 * math.pi * 1800 * t)
    burst = noise.uniform(-1, 1) * math.exp(-t / 0.0015)
    samples.append(int(0.45 * 32767 * envelope * (0.7 * tone + 0.3 * burst)))

with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(2)
    out.setframerate(RATE)
    out.writeframes(b"".join(struct.pack("<h", s) for s in samples))
