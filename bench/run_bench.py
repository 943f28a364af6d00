#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Measures kdxconvert against ffmpeg on the same clips and machine.

For each reference clip it runs RUNS rounds; each round runs every command
once, one right after the other, so each ratio compares runs of the same
moment (the median of the rounds' ratios is reported):
  ours      kdxconvert, High quality, the 128x128 15 fps model, full image
  baseline  the same from another build (--baseline BUILD), when given
  floor     ffmpeg -i CLIP -f null -            (decoding only)
  peer      ffmpeg MJPEG 15 fps + IMA ADPCM 22050 Hz stereo of the same size
and prints wall time, CPU time and peak memory (medians) with the paired
ratios. With --instructions it also counts the instructions of ours (and
the baseline and peer) once under callgrind: a measure that other work on
the machine does not disturb.

With --batch-memory N it measures instead one kdxconvert batch of N copies of
a 2 s clip against a batch of 10: a long batch must not grow the program's
peak memory (slow, so not part of the default run).
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def measure(command, env=None):
    """Runs a command under GNU time; returns (wall s, cpu s, peak KiB)."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as report:
        full = ["/usr/bin/time", "-f", "%e %U %S %M", "-o", report.name] + command
        done = subprocess.run(full, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
        if done.returncode != 0:
            sys.exit("failed: %s\n%s" % (" ".join(command), done.stderr.decode(errors="replace")[-2000:]))
        wall, user, system, peak = report.read().split()[-4:]
        return float(wall), float(user) + float(system), int(peak)


def instructions(command, env=None):
    """Instructions the command executes, all threads, counted by callgrind."""
    with tempfile.TemporaryDirectory() as folder:
        done = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + os.path.join(folder, "out")]
                              + command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
        if done.returncode != 0:
            sys.exit("failed under callgrind: %s" % " ".join(command))
        found = re.search(r"Collected\s*:\s*(\d+)", done.stderr.decode(errors="replace"))
        return int(found.group(1)) if found else 0


def median(values):
    return statistics.median(values)


def find_model(kdxconvert, env):
    """The first KDX model of the table with a 128*128 screen at 15 fps."""
    listing = subprocess.run([kdxconvert, "--list-models"], capture_output=True, text=True, env=env).stdout
    for line in listing.splitlines():
        if "128*128" in line and re.search(r"\b15\b", line) and "KDX" in line.upper():
            return line.split("  ")[0].strip()
    sys.exit("no 128*128 15 fps KDX model in:\n" + listing)


def output_size(kdxinfo, path):
    text = subprocess.run([kdxinfo, path], capture_output=True, text=True).stdout
    w = re.search(r"\bW\s*[:=]\s*(\d+)", text)
    h = re.search(r"\bH\s*[:=]\s*(\d+)", text)
    return (int(w.group(1)), int(h.group(1))) if w and h else (128, 96)


def report_length_independence(peaks):
    """Compares kdxconvert's peak memory on clips that differ only in length."""
    short, long_ = "clip_320x240_25fps_60s.avi", "clip_320x240_25fps_300s.avi"
    if short in peaks and long_ in peaks:
        print("== peak memory, 300 s against 60 s of the same kind: %.1f MiB vs %.1f MiB (%+.1f %%)" % (
            peaks[long_] / 1024.0, peaks[short] / 1024.0, 100.0 * (peaks[long_] - peaks[short]) / peaks[short]))


def report_batch_memory(kdxconvert, model, files, work, env):
    """Peak memory of one kdxconvert batch of `files` copies of a short clip, against a batch of 10."""
    clip = os.path.join(work, "short.mp4")
    subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                    "testsrc2=size=320x240:rate=25:duration=2", "-f", "lavfi", "-i",
                    "sine=frequency=330:sample_rate=44100:duration=2", "-c:v", "libx264", "-preset", "veryfast",
                    "-pix_fmt", "yuv420p", "-c:a", "aac", "-ac", "2", clip], check=True)
    peaks = {}
    for count in (10, files):
        inputs = os.path.join(work, "batch-%d" % count)
        os.makedirs(inputs)
        names = []
        for i in range(count):
            names.append(os.path.join(inputs, "short_%04d.mp4" % i))
            os.link(clip, names[-1])
        wall, _, peak = measure([kdxconvert, "--model", model, "--overwrite", "--output", inputs + "-out"] + names, env)
        peaks[count] = peak
        print("== batch of %d files of 2 s: wall %.1f s, peak %.1f MiB" % (count, wall, peak / 1024.0))
    print("== peak memory, %d files against 10: %+.1f %%" % (files, 100.0 * (peaks[files] - peaks[10]) / peaks[10]))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder (default: build)")
    parser.add_argument("--baseline", help="build folder of an earlier version, measured side by side")
    parser.add_argument("--clips", default=os.path.join(ROOT, "build", "bench-clips"), help="clip cache folder")
    parser.add_argument("--runs", type=int, default=3, help="rounds of runs (median)")
    parser.add_argument("--only", help="measure only clips whose name contains this")
    parser.add_argument("--instructions", action="store_true", help="also count instructions with callgrind")
    parser.add_argument("--batch-memory", type=int, metavar="N",
                        help="only measure the peak memory of one batch of N short files (300, say)")
    args = parser.parse_args()

    kdxconvert = os.path.join(args.build, "bin", "kdxconvert")
    kdxinfo = os.path.join(args.build, "bin", "kdxinfo")
    work = tempfile.mkdtemp(prefix="kdxbench-")
    env = dict(os.environ, NKDX_CONFIG_DIR=work, NKDX_LOG_FILE=os.path.join(work, "log.txt"))
    model = find_model(kdxconvert, env)
    if args.batch_memory:
        try:
            report_batch_memory(kdxconvert, model, args.batch_memory, work, env)
        finally:
            shutil.rmtree(work, ignore_errors=True)
        return
    subprocess.run(["bash", os.path.join(HERE, "make_bench_clips.sh"), args.clips], check=True)
    peaks = {}
    try:
        for clip in sorted(os.listdir(args.clips)):
            if not clip.endswith((".mp4", ".avi")) or clip.startswith("tmp.") or (args.only and args.only not in clip):
                continue
            source = os.path.join(args.clips, clip)

            def convert(build):
                return [os.path.join(build, "bin", "kdxconvert"), "--model", model, "--quality", "high", "--mode",
                        "full-image", "--overwrite", "--output", work, source]

            subprocess.run(convert(args.build), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
            result = os.path.join(work, model, os.path.splitext(clip)[0] + ".kdx")
            width, height = output_size(kdxinfo, result)
            peer_out = os.path.join(work, "peer.avi")
            commands = [("kdxconvert", convert(args.build))]
            if args.baseline:
                commands.append(("baseline kdxconvert", convert(args.baseline)))
            commands += [("ffmpeg decode (floor)", ["ffmpeg", "-nostdin", "-v", "error", "-i", source, "-f", "null",
                                                    "-"]),
                         ("ffmpeg mjpeg+adpcm (peer)", ["ffmpeg", "-nostdin", "-v", "error", "-y", "-i", source, "-vf",
                                                        "fps=15,scale=%d:%d" % (width, height), "-c:v", "mjpeg",
                                                        "-q:v", "4", "-c:a", "adpcm_ima_wav", "-ar", "22050", "-ac",
                                                        "2", peer_out])]
            rounds = [{name: measure(command, env) for name, command in commands} for _ in range(args.runs)]
            print("== %s (output %dx%d)" % (clip, width, height))
            for name, _ in commands:
                wall, cpu, peak = (median(r[name][i] for r in rounds) for i in range(3))
                print("  %-27s wall %7.2f s  cpu %7.2f s  peak %7.1f MiB" % (name, wall, cpu, peak / 1024.0))
            ours = "kdxconvert"
            others = [name for name, _ in commands if name != ours]
            for other in others:
                short = other.split("(")[-1].rstrip(")") if "(" in other else "baseline"
                wall_ratio = median(r[ours][0] / r[other][0] for r in rounds)
                cpu_ratio = median(r[ours][1] / r[other][1] for r in rounds)
                difference = median(r[ours][0] - r[other][0] for r in rounds)
                print("  vs %-9s wall %.2fx, cpu %.2fx (paired, %d rounds); wall %+.2f s" % (
                    short, wall_ratio, cpu_ratio, args.runs, difference))
            if args.instructions:
                counted = [(name, instructions(command, env)) for name, command in commands if "floor" not in name]
                mine = counted[0][1]
                for name, count in counted:
                    print("  instructions %-27s %8.2f G  (ours %.2fx)" % (name, count / 1e9, mine / count if count else 0))
            sys.stdout.flush()
            peaks[clip] = median(r[ours][2] for r in rounds)
        report_length_independence(peaks)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
