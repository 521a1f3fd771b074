#!/bin/bash
# Counts the lines of the product and of its tests, and prints both with their ratio.
# A line counts unless it is blank or only a comment (// in C++, # in CMake, Python
# and shell).
# - product: the .cpp and .h files under app/ files/ errors/ util/ examples/ and base/;
# - tests: every test line in any language under tests/: the .cpp and .h files, and the
#   CMake, Python and shell scripts, without tests/bench/, tests/fuzz/ and the
#   CMakeLists.txt build files.
set -eu
cd "$(dirname "$0")/.."
code() { grep -v -E '^[[:space:]]*(//.*)?$' || true; }
script() { grep -v -E '^[[:space:]]*(#.*)?$' || true; }
files() {
    find "$@" -type f -not -path 'tests/bench/*' -not -path 'tests/fuzz/*' \
        -not -name CMakeLists.txt -print0 2>/dev/null | xargs -0 -r cat
}
product=$(files app files errors util examples base \( -name '*.cpp' -o -name '*.h' \) |
    code | wc -l)
test_code=$(files tests \( -name '*.cpp' -o -name '*.h' \) | code | wc -l)
test_scripts=$(files tests \( -name '*.cmake' -o -name '*.py' -o -name '*.sh' \) | script | wc -l)
tests=$((test_code + test_scripts))
echo "product code: $product lines"
echo "test code:    $tests lines ($test_code C++, $test_scripts CMake, Python and shell)"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "tests/product: %.2f %%\n", 100 * t / p }'
