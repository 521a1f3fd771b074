#!/bin/bash
# Checks the format of every C++ file, then builds everything and runs every test: the
# portable code natively with AddressSanitizer and UndefinedBehaviorSanitizer, its fuzz
# targets for a bounded time, then the Windows build under Wine on an Xvfb display, and
# last two more release builds from two folders that must give the same bytes.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/check-format.sh
cmake --workflow --preset native
cmake --workflow --preset fuzz
tools/wine-env.sh cmake --workflow --preset windows
tools/check-reproducible.sh
tools/count-lines.sh
