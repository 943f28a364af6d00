#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Measures how faithful kdxconvert's pictures are, next to ffmpeg's MJPEG.

For each clip kind (screen content with small text, natural-looking grain,
a widescreen DVD picture stored at 720x480, a phone clip marked as portrait)
and each video mode (full image, full screen) it converts at High quality for
the 128x128 15 fps model, then compares every stored frame with the source:

  reference  the source as ffmpeg decodes it, upright (ffmpeg turns it by
             the display matrix) and at its shown aspect ratio, cropped for
             full screen as the converter crops, shrunk to W x H by area
             averaging;
  ours       each KDX frame against the best-matching reference frame of
             its chunk period;
  peer       ffmpeg's MJPEG of the same size, frame rate and bytes per
             frame (the KDX chunk size over the frames per chunk), on the
             standard Huffman tables as the KDX chunks are, measured the
             same way.

It prints the mean and the minimum luma PSNR (dB) of both.
"""
import argparse
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
MODES = ("full-image", "full-screen")


def run(command, env=None):
    done = subprocess.run(command, capture_output=True, env=env)
    if done.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), done.stderr.decode(errors="replace")[-2000:]))
    return done.stdout


def find_model(kdxconvert, env):
    listing = run([kdxconvert, "--list-models"], env).decode()
    for line in listing.splitlines():
        if "128*128" in line and re.search(r"\b15\b", line) and "KDX" in line.upper():
            return line.split("  ")[0].strip()
    sys.exit("no 128*128 15 fps KDX model in:\n" + listing)


def geometry(kdxinfo, path):
    text = run([kdxinfo, path]).decode()
    found = re.search(r"Geometry: W (\d+), H (\d+), P (\d+), F (\d+), C (\d+), S (\d+), N (\d+)", text)
    if not found:
        sys.exit("no geometry in:\n" + text)
    return dict(zip("WHPFCSN", map(int, found.groups())))


def shown_size(clip):
    """Width and height of the picture upright and at square pixels."""
    fields = run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                  "stream=width,height,sample_aspect_ratio:stream_side_data=rotation", "-of", "default=nw=1",
                  clip]).decode()
    value = dict(line.split("=", 1) for line in fields.splitlines() if "=" in line)
    width, height = int(value["width"]), int(value["height"])
    num, _, den = value.get("sample_aspect_ratio", "1:1").partition(":")
    if num.isdigit() and den.isdigit() and int(num) > 0 and int(den) > 0:
        width = int(round(width * int(num) / int(den)))
    if round(abs(float(value.get("rotation", "0")))) % 180 == 90:
        width, height = height, width
    return width, height


def crop_for(mode, shown, out):
    """The centred part the converter keeps: all of it, or the output's shape."""
    (sw, sh), (w, h) = shown, out
    if mode == "full-image":
        return sw, sh
    r = min(sw / w, sh / h)
    return int(w * r), int(h * r)


def shape_filter(clip, mode, out):
    sw, sh = shown_size(clip)
    cw, ch = crop_for(mode, (sw, sh), out)
    # ffmpeg has already turned the picture upright; the shown width comes
    # from the stretch alone. The crop starts at the exact centre, as the
    # converter's does: ffmpeg's crop otherwise moves it onto a whole
    # chroma sample, a pixel off for odd margins.
    return "scale=%d:%d,setsar=1,crop=%d:%d:exact=1" % (sw, sh, cw, ch)


def frames_of(command, width, height):
    raw = run(command)
    size = width * height * 3
    return [raw[i:i + size] for i in range(0, len(raw) - size + 1, size)]


def luma(rgb):
    return [0.299 * rgb[i] + 0.587 * rgb[i + 1] + 0.114 * rgb[i + 2] for i in range(0, len(rgb), 3)]


def psnr(a, b):
    mse = sum((x - y) ** 2 for x, y in zip(a, b)) / len(a)
    return 99.0 if mse == 0 else 10 * math.log10(255.0 ** 2 / mse)


def reference_frames(clip, shape, g):
    """(time, luma) of every source frame, shrunk to W x H by area."""
    times = [float(t) for t in run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                                    "frame=best_effort_timestamp_time", "-of", "default=nw=1:nk=1",
                                    clip]).split() if t not in (b"N/A",)]
    pictures = frames_of(["ffmpeg", "-v", "error", "-nostdin", "-i", clip, "-vf",
                          "%s,scale=%d:%d:flags=area" % (shape, g["W"], g["H"]), "-fps_mode", "passthrough",
                          "-f", "rawvideo", "-pix_fmt", "rgb24", "-"], g["W"], g["H"])
    start = times[0] if times else 0.0
    return [(t - start, luma(p)) for t, p in zip(times, pictures)]


def best_matches(frames, reference, g):
    """PSNR of each frame against the best reference frame of its chunk period."""
    period = 1.0 / g["C"]
    scores = []
    for i, frame in enumerate(frames):
        chunk = i // g["F"]
        candidates = [r for t, r in reference if chunk * period - 1e-6 <= t < (chunk + 1) * period - 1e-6]
        if candidates:
            scores.append(max(psnr(frame, r) for r in candidates))
    return scores


def kdx_frames(kdxinfo, path, g, work):
    folder = os.path.join(work, "frames")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    run([kdxinfo, "--frames", folder, path])
    return frames_of(["ffmpeg", "-v", "error", "-nostdin", "-i", os.path.join(folder, "frame_%06d.png"),
                      "-f", "rawvideo", "-pix_fmt", "rgb24", "-"], g["W"], g["H"])


def peer_frames(clip, shape, g, work):
    """ffmpeg's MJPEG at the KDX file's size, rate and bytes per frame."""
    rate = g["F"] * g["C"]
    bits = int(g["S"] / g["F"] * 8 * rate)
    peer = os.path.join(work, "peer.avi")
    run(["ffmpeg", "-v", "error", "-nostdin", "-y", "-i", clip, "-vf",
         "%s,fps=%d,scale=%d:%d" % (shape, rate, g["W"], g["H"]), "-c:v", "mjpeg", "-huffman", "default",
         "-b:v", str(bits), "-maxrate", str(bits), "-bufsize", str(bits // rate * 2), "-an", peer])
    pictures = frames_of(["ffmpeg", "-v", "error", "-nostdin", "-i", peer, "-f", "rawvideo", "-pix_fmt", "rgb24",
                          "-"], g["W"], g["H"])
    sizes = run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "packet=size", "-of",
                 "csv=p=0", peer]).decode().split()
    return pictures, sum(int(s) for s in sizes) / max(1, len(sizes))


def summary(scores):
    return "mean %5.1f dB, min %5.1f dB" % (sum(scores) / len(scores), min(scores)) if scores else "no frames"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder (default: build)")
    parser.add_argument("--clips", default=os.path.join(ROOT, "build", "fidelity-clips"), help="clip cache folder")
    parser.add_argument("--only", help="measure only clips whose name contains this")
    args = parser.parse_args()

    run(["bash", os.path.join(HERE, "make_fidelity_clips.sh"), args.clips])
    kdxconvert = os.path.join(args.build, "bin", "kdxconvert")
    kdxinfo = os.path.join(args.build, "bin", "kdxinfo")
    work = tempfile.mkdtemp(prefix="kdxfidelity-")
    env = dict(os.environ, NKDX_CONFIG_DIR=work, NKDX_LOG_FILE=os.path.join(work, "log.txt"))
    model = find_model(kdxconvert, env)
    try:
        for clip in sorted(os.listdir(args.clips)):
            if not clip.endswith((".mp4", ".mpg")) or clip.startswith("tmp.") or (args.only and args.only not in clip):
                continue
            source = os.path.join(args.clips, clip)
            for mode in MODES:
                run([kdxconvert, "--model", model, "--quality", "high", "--mode", mode, "--overwrite", "--output",
                     work, source], env)
                result = os.path.join(work, model, os.path.splitext(clip)[0] + ".kdx")
                g = geometry(kdxinfo, result)
                shape = shape_filter(source, mode, (g["W"], g["H"]))
                reference = reference_frames(source, shape, g)
                ours = best_matches([luma(f) for f in kdx_frames(kdxinfo, result, g, work)], reference, g)
                peer, peer_bytes = peer_frames(source, shape, g, work)
                theirs = best_matches([luma(f) for f in peer], reference, g)
                print("== %s, %s: %dx%d, %d frames/s, %d bytes/frame (peer %d)" % (
                    clip, mode, g["W"], g["H"], g["F"] * g["C"], g["S"] // g["F"], peer_bytes))
                print("  kdxconvert          %s" % summary(ours))
                print("  ffmpeg mjpeg (peer) %s" % summary(theirs))
                sys.stdout.flush()
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
