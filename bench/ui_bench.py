#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Measures how responsive the desktop program is.

Runs the program's application object offscreen (build/bin/kdx_ui_probe),
RUNS times:
  window shown   milliseconds from starting the process until the main
                 window is on the screen (start-up checks, device table,
                 player detection included)
  longest stall  the longest gap between the ticks of a 5 ms timer on the
                 window's thread while it converts a 60 s 640x480 clip
It prints the median of the first and the largest of the second, next to the
aims of 500 ms and 100 ms. Run it on an otherwise idle machine.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CLIP = "clip_640x480_30fps_60s.mp4"


def probe_once(probe, clip):
    with tempfile.TemporaryDirectory(prefix="kdx-ui-bench-") as home:
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=home, NKDX_CONFIG_DIR=home,
                   NKDX_LOG_FILE=os.path.join(home, "log.txt"), XDG_RUNTIME_DIR=home)
        env["KDX_PROBE_SPAWNED_NS"] = str(time.time_ns())
        done = subprocess.run([probe, clip, os.path.join(home, "out")], env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=600)
        output = done.stdout.decode()
        values = dict(re.findall(r"^(\w+) ([\d.]+)$", output, re.M))
        if done.returncode != 0 or values.get("rows_converted") != "1":
            sys.exit("probe failed (%d):\n%s%s" % (done.returncode, output, done.stderr.decode(errors="replace")[-2000:]))
        return float(values["window_shown_ms"]), float(values["longest_stall_ms"])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder (default: build)")
    parser.add_argument("--clips", default=os.path.join(ROOT, "build", "bench-clips"), help="clip cache folder")
    parser.add_argument("--runs", type=int, default=3, help="runs (default 3)")
    args = parser.parse_args()

    probe = os.path.join(args.build, "bin", "kdx_ui_probe")
    if not os.path.exists(probe):
        sys.exit("%s is missing: build the desktop program first" % probe)
    subprocess.run(["bash", os.path.join(HERE, "make_bench_clips.sh"), args.clips], check=True)
    runs = [probe_once(probe, os.path.join(args.clips, CLIP)) for _ in range(args.runs)]
    shown = statistics.median(r[0] for r in runs)
    stall = max(r[1] for r in runs)
    print("window shown after   %6.0f ms (median of %d; aim under 500 ms)" % (shown, len(runs)))
    print("longest stall        %6.0f ms (largest of %d conversions of %s; aim under 100 ms)" % (stall, len(runs), CLIP))


if __name__ == "__main__":
    main()
