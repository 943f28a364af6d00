#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds everything with the tests and runs the
# whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KDX_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build "$build"
cd "$build"
ctest --output-on-failure -j2
