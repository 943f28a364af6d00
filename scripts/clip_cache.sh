# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by the scripts that generate clips with the ffmpeg tool into a
# cache folder: "make NAME ARGS..." builds NAME once, through a temporary
# file, so an interrupted build never leaves a half-written clip behind;
# "enter_clip_folder FOLDER" makes the cache folder and works in it.
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
make() {
  local name=$1; shift
  [ -s "$name" ] && return 0
  local tmp="tmp.${name}"
  ff "$@" "$tmp"
  mv "$tmp" "$name"
}
enter_clip_folder() {
  local folder=${1:?output folder}
  mkdir -p "$folder"
  cd "$folder"
}
