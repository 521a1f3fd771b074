#!/bin/bash
# Builds the programs, the tools and the release zip twice, one build after the other, and checks
# that both give the same bytes: build A from this source tree in build/repro/a, build B from
# a copy of it in build/repro/src-b into build/repro/b, so the source paths, the build paths
# and the build times all differ. Only what the zip holds is built, then CPack is run as the
# `package` target runs it (the target itself would build the tests as well).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD/build/repro
rm -rf "$root"
mkdir -p "$root/src-b"

# The copy holds the working tree's files as they are (committed or not). Where the tree is a
# git checkout the copy is a clone of the same repository, so that B's zip is dated with the
# same commit's time as A's.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git clone --quiet --shared --no-checkout . "$root/src-b"
    git ls-files -z --cached --others --exclude-standard |
        tar --null -T - --ignore-failed-read -cf - | tar -xf - -C "$root/src-b"
else
    tar --exclude=./build -cf - . | tar -xf - -C "$root/src-b"
fi

build() {  # <source folder> <build folder>: prints the SHA-256 sums
    echo "check-reproducible: building $1 in $2" >&2
    if ! { cmake --preset windows -S "$1" -B "$2" &&
           cmake --build "$2" -j2 --target FollowKelvaro FollowKelvaroCmd initool findfiles \
               dbfdump &&
           cpack --config "$2/CPackConfig.cmake" -B "$2/package"; } >"$2.log" 2>&1; then
        cat "$2.log" >&2
        return 1
    fi
    (cd "$2" && sha256sum app/FollowKelvaro.exe app/FollowKelvaroCmd.exe package/*.zip)
}
build "$PWD" "$root/a" >"$root/a.sha256"
build "$root/src-b" "$root/b" >"$root/b.sha256"
cat "$root/a.sha256"
if ! cmp -s "$root/a.sha256" "$root/b.sha256"; then
    echo "check-reproducible: the second build differs:" >&2
    diff "$root/a.sha256" "$root/b.sha256" >&2 || true
    for f in app/FollowKelvaro.exe app/FollowKelvaroCmd.exe; do
        cmp -l "$root/a/$f" "$root/b/$f" | head -5 >&2 || true
    done
    exit 1
fi
echo "check-reproducible: both builds identical (3 files)"
