#!/bin/bash
# Benchmark of the table class: a full scan of 100,000 records through dbases,
# beside a plain sequential read of the file and dbfread's raw scan of it.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DFK_BENCH=ON >/dev/null
cmake --build build/bench --target dbf_scan_bench >/dev/null
table=build/bench/scan.dbf
build/bench/tests/bench/dbf_scan_bench "$table"
/usr/bin/python3 - "$table" <<'PY'
import sys, time
from dbfread import DBF
best = None
for _ in range(3):
    start = time.perf_counter()
    n = sum(1 for _ in DBF(sys.argv[1], raw=True))
    took = time.perf_counter() - start
    best = took if best is None else min(best, took)
print(f"dbfread raw scan:                         {n / best:10.0f} records/s ({best:.3f} s)")
PY
