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

# The layers a file may read, or nothing when no rule names it.
allowed_for() {
    local rule
    for rule in "${rules[@]}"; do
        # shellcheck disable=SC2053
        if [[ $1 == ${rule%%|*} ]]; then
            echo "${rule#*|}"
            return
        fi
    done
}

# One grep over every source: a process per file or per line costs seconds on a loaded machine.
status=0
current=
allowed=
while IFS= read -r hit; do
    file=${hit%%:*}
    if [ "$file" != "$current" ]; then
        current=$file
        allowed=$(allowed_for "$file")
    fi
    [ -n "$allowed" ] || continue
    target=${hit#*:\#include \"}
    target=${target%%\"*}
    ok=0
    for prefix in $allowed; do
        [[ $target == "$prefix"* ]] && ok=1 && break
    done
    if [ $ok -eq 0 ]; then
        echo "$file includes $target, a layer above its own" >&2
        status=1
    fi
done < <( (git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h') |
    xargs grep -H -E '^#include "[a-z_]+/' || true)
[ $status -eq 0 ] && echo "every include reads its own layer or one below"
exit $status
