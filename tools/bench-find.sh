#!/bin/bash
# Benchmark of the file search class: a generated tree of 100,000 files in 1,000
# folders (half of them *.txt), searched by cfindfile and by a bare recursive walk.
set -eu
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target find_bench >/dev/null
tree="$PWD/build/bench-tree"
if [ ! -f "$tree/.complete" ]; then
    rm -rf "$tree"
    /usr/bin/python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
for a in range(10):
    for b in range(100):
        folder = os.path.join(root, f"bereich{a:02d}", f"ordner{b:03d}")
        os.makedirs(folder)
        for f in range(100):
            ext = "txt" if f % 2 == 0 else "dat"
            open(os.path.join(folder, f"datei{f:03d}.{ext}"), "w").close()
PY
    touch "$tree/.complete"
fi
tools/wine-env.sh /usr/lib/wine/wine64 build/windows/tests/find_bench.exe "Z:${tree//\//\\}\\"
