#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs every Debian package the build, the tests, the tools and the
# benchmark need. Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest
  ffmpeg libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libdevil-dev libjpeg-dev libsndfile1-dev libresample1-dev
  libpugixml-dev
  # libqt6multimedia6 carries the FFmpeg media plug-in the preview plays with.
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6 fonts-dejavu-core
  # libqt6svg6 carries the SVG image plug-in that draws the program's icon.
  libqt6svg6
  libmtp-dev libudev-dev
  time python3
  # The Debian packages: CPack finds their runtime dependencies with
  # dpkg-shlibdeps and tells the programs apart with file; the build takes
  # Debian's hardening flags from dpkg-buildflags. The package test checks
  # them with lintian, desktop-file-validate and appstreamcli, reads the
  # manual pages with man and tries the bash completion.
  dpkg-dev file
  lintian desktop-file-utils appstream man-db bash-completion
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
