#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the encoder library, the tools and their tests with
# AddressSanitizer + UndefinedBehaviorSanitizer and runs the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KDX_SANITIZE_BUILD_DIR:-$root/build-asan}
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKDX_SANITIZE=ON -DKDX_BUILD_CONVERTER=OFF -DBUILD_TESTING=ON
cmake --build "$build"
cd "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure -j2
