#!/usr/bin/env bash
# Fails when a source includes a layer above its own: each layer names the layers it may read.
# Usage: check-layers.sh SOURCE_DIR
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Files (a shell pattern) and the include prefixes they may use besides the C++ and Qt headers.
rules=(
    "link/*|link/"
    "vprinter/*|vprinter/"
    "job/*|link/ job/"
    "graphics/model/*|link/ graphics/model/"
    "ui/*|link/ ui/"
    "graphics/*|link/ ui/ graphics/"
    "compose/*|link/ ui/ graphics/ compose/"
    "batch/*|link/ batch/"
    "shell/*|link/ ui/ graphics/ compose/ batch/ job/ shell/"
    "app/vuvactl*|link/ graphics/model/ batch/ job/ app/vuvactl"
    "app/*|link/ ui/ graphics/ compose/ batch/ job/ shell/ app/"
)

status=0
while IFS= read -r file; do
    allowed=
    for rule in "${rules[@]}"; do
        # shellcheck disable=SC2053
        if [[ $file == ${rule%%|*} ]]; then
            allowed=${rule#*|}
            break
        fi
    done
    [ -n "$allowed" ] || continue
    while IFS= read -r line; do
        target=$(sed -E 's/^#include "([^"]*)".*/\1/' <<<"$line")
        ok=0
        for prefix in $allowed; do
            [[ $target == "$prefix"* ]] && ok=1 && break
        done
        if [ $ok -eq 0 ]; then
            echo "$file includes $target, a layer above its own" >&2
            status=1
        fi
    done < <(grep -E '^#include "[a-z_]+/' "$file" || true)
done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
[ $status -eq 0 ] && echo "every include reads its own layer or one below"
exit $status
