#!/bin/bash
# Builds everything and runs every test: the portable code natively with
# AddressSanitizer and UndefinedBehaviorSanitizer, its fuzz targets for a bounded
# time, then the Windows build under Wine on an Xvfb display.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --workflow --preset native
cmake --workflow --preset fuzz
tools/wine-env.sh cmake --workflow --preset windows
tools/count-lines.sh
