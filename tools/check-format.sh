#!/bin/bash
# Fails when a C++ file of the tree differs from what clang-format (Debian 12's,
# version 14) makes of it with the project's .clang-format, and names each such file.
set -eu
cd "$(dirname "$0")/.."
differ=0
while IFS= read -r -d '' file; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        echo "check-format: $file differs from clang-format (run: clang-format -i $file)" >&2
        differ=1
    fi
done < <(git ls-files -z -- '*.cpp' '*.h')
[ "$differ" = 0 ] && echo "check-format: every C++ file is formatted"
exit "$differ"
