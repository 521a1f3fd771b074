#!/bin/bash
# Fails on an #include that points the wrong way between the product's floors and names
# each one. From the ground up: base/ <- util/ <- files/ <- errors/ <- app/. A folder
# includes only itself and the floors below it; base/ stands on system headers alone;
# resources/ may be included from anywhere.
set -eu
cd "${1:-$(dirname "$0")/..}"
floors=(base util files errors app)
wrong=0
for ((own = 0; own < ${#floors[@]}; own++)); do
    allowed="resources ${floors[*]:0:own+1}"
    while IFS=: read -r file line target; do
        case " $allowed " in *" ${target%%/*} "*) continue ;; esac
        echo "check-layers: $file:$line includes \"$target\": ${floors[own]}/ includes only $allowed" >&2
        wrong=1
    done < <(grep -rnoE --include='*.cpp' --include='*.h' '^#[[:space:]]*include[[:space:]]*"[^"]*"' \
        "${floors[own]}" | sed -E 's/#[[:space:]]*include[[:space:]]*"([^"]*)"/\1/')
done
[ "$wrong" = 0 ] && echo "check-layers: every include points down"
exit "$wrong"
