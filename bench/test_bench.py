#!/usr/bin/env python3
"""Checks the benchmark itself: that both drivers report every figure run.py
reads, and that run.py's statistics and its rewrite of RESULTS.md are right.

    test_bench.py FLOOR-DRIVER LUKIMO-DRIVER RUN-DIR
"""
import os
import runpy
import subprocess
import sys
import tempfile
import types
import unittest

sys.dont_write_bytecode = True
bench = types.SimpleNamespace(**runpy.run_path(
    os.path.join(os.path.dirname(os.path.abspath(__file__)), "run.py"), run_name="bench_run"))

FLOOR = LUKIMO = RUN_DIR = None


def drive(command):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8", LANG="C.UTF-8")
    done = subprocess.run(command, env=env, cwd=RUN_DIR, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True, timeout=60)
    return done.returncode, bench.parse(done.stderr), done.stderr


class Drivers(unittest.TestCase):
    def assertReports(self, command, keys):
        status, figures, err = drive(command)
        self.assertEqual(status, 0, err)
        self.assertEqual(set(figures), set(keys), err)
        for key in keys:
            self.assertGreater(figures[key], 0, key)
        return figures

    def test_first_paint_reports_time_cpu_and_peak(self):
        for command in ([FLOOR, "first-paint"], [LUKIMO, "first-paint"]):
            with self.subTest(command=command[0]):
                self.assertReports(command, ["first-paint-ns", "startup-cpu-ns",
                                             "startup-peak-kib"])

    def test_roll_reports_the_window_after_twenty_ticks(self):
        for command in ([FLOOR, "roll", "22"], [LUKIMO, "roll", "free", "22"],
                        [LUKIMO, "roll", "limited", "22"]):
            with self.subTest(command=command[1:]):
                figures = self.assertReports(command, ["window-ticks", "window-cpu-ns",
                                                       "peak-kib"])
                self.assertEqual(figures["window-ticks"], 2)

    def test_short_roll_reports_only_its_peak(self):
        self.assertReports([LUKIMO, "roll", "free", "3"], ["peak-kib"])

    def test_peak_is_a_plausible_size(self):
        _, figures, _ = drive([FLOOR, "roll", "3"])
        # A Qt widget program is some MiB, never bytes and never GiB.
        self.assertGreater(figures["peak-kib"], 4 * 1024)
        self.assertLess(figures["peak-kib"], 1024 * 1024)


class Statistics(unittest.TestCase):
    def test_median_and_middle_half(self):
        s = bench.summary([(8, 4), (2, 1), (10, 5), (4, 2), (9, 3)])
        self.assertEqual(s["ours"], (8, 4, 9))
        self.assertEqual(s["floor"], (3, 2, 4))
        # Ratios of the pairs: 2, 2, 2, 2 and 3.
        self.assertEqual(s["ratio"], (2, 2, 2))

    def test_one_round_has_no_spread(self):
        s = bench.summary([(3.0, 2.0)])
        self.assertEqual(s["ours"], (3.0, 3.0, 3.0))
        self.assertEqual(s["ratio"], (1.5, 1.5, 1.5))

    def test_goal_missed_only_above_it(self):
        self.assertEqual(bench.verdict(1.15, 1.15), "≤ 1.15")
        self.assertEqual(bench.verdict(1.151, 1.15), "≤ 1.15 MISSED")
        self.assertEqual(bench.verdict(2.0, None), "")

    def test_parse_keeps_figures_and_skips_the_rest(self):
        err = ("QStandardPaths: XDG_RUNTIME_DIR not set\n"
               "peak-kib 28960\n"
               "window-cpu-ns 27000000\n"
               "peak-kib-extra 1\n")
        self.assertEqual(bench.parse(err), {"peak-kib": 28960, "window-cpu-ns": 27000000})


class Results(unittest.TestCase):
    def setUp(self):
        directory = tempfile.TemporaryDirectory()
        self.addCleanup(directory.cleanup)
        self.path = os.path.join(directory.name, "RESULTS.md")

    def rewrite(self, text, block):
        with open(self.path, "w") as out:
            out.write(text)
        try:
            bench.write_results(self.path, block)
        finally:
            with open(self.path) as back:
                self.written = back.read()
        return self.written

    def test_only_the_block_changes(self):
        text = ("# Results\n\nBefore.\n\n<!-- bench figures begin -->\nold table\n"
                "<!-- bench figures end -->\n\nAfter.\n")
        self.assertEqual(self.rewrite(text, "new table"),
                         "# Results\n\nBefore.\n\n<!-- bench figures begin -->\nnew table\n"
                         "<!-- bench figures end -->\n\nAfter.\n")

    def test_a_file_without_the_block_is_left_alone(self):
        text = "# Results\n\nNo markers here.\n"
        with self.assertRaises(SystemExit):
            self.rewrite(text, "new table")
        self.assertEqual(self.written, text)


if __name__ == "__main__":
    FLOOR, LUKIMO, RUN_DIR = (os.path.abspath(path) for path in sys.argv[1:4])
    unittest.main(argv=sys.argv[:1] + sys.argv[4:])
