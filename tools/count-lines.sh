#!/bin/bash
# Counts non-blank lines that are not only a // comment in the .cpp and .h files of
# the product (app/ files/ errors/ util/) and of the tests (tests/ without
# tests/bench/ and tests/fuzz/), and prints both with their ratio.
set -eu
cd "$(dirname "$0")/.."
count() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 cat | grep -v -E '^[[:space:]]*(//.*)?$' | wc -l
}
product=$(count app files errors util)
tests=$(count tests -not -path 'tests/bench/*' -not -path 'tests/fuzz/*')
echo "product code: $product lines"
echo "test code:    $tests lines"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "tests/product: %.2f %%\n", 100 * t / p }'
