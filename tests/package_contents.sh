#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what dpkg unpacks of it into a scratch
# root. Usage: package_contents.sh BUILD SOURCE
set -euo pipefail
build=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# gzip rather than xz: the same contents, in a fraction of the time.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" \
    -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack"; }
deb=$(echo "$scratch"/out/*.deb)
[ -f "$deb" ] || fail "not one package: $deb"
root=$scratch/root
dpkg -x "$deb" "$root"

expected="./usr/bin/vprinter
./usr/bin/vuvactl
./usr/bin/vuvazuvevov
./usr/share/applications/vuvazuvevov.desktop
./usr/share/icons/hicolor/scalable/apps/vuvazuvevov.svg
./usr/share/man/man1/vprinter.1.gz
./usr/share/man/man1/vuvactl.1.gz
./usr/share/vuvazuvevov/help.html"
actual=$(cd "$root" && find . -type f -o -type l | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:$(diff <(echo "$expected") <(echo "$actual"))"
modes=$(dpkg-deb -c "$deb" | awk '$6 ~ /bin\/./ {print $1, $2}' | sort -u)
[ "$modes" = "-rwxr-xr-x root/root" ] || fail "programs installed as $modes"
# The station looks for the page at ../share/vuvazuvevov from its own folder.
cmp -s "$root/usr/share/vuvazuvevov/help.html" "$source_dir/app/help.html" || fail "help page differs"

desktop=$root/usr/share/applications/vuvazuvevov.desktop
desktop-file-validate "$desktop" || fail "desktop entry refused"
[ "$(grep -E '^(Exec|Icon)=' "$desktop")" = $'Exec=vuvazuvevov\nIcon=vuvazuvevov' ] ||
    fail "desktop entry names another program or icon"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends = *libqt6serialport6*libqt6widgets6* ]] || fail "Depends lacks Qt: $depends"

# Every option and command the programs' --help names is in their man page.
for p in vprinter vuvactl; do
    help=$("$root/usr/bin/$p" --help) || fail "$p --help"
    page=$(zcat "$root/usr/share/man/man1/$p.1.gz" | sed 's/\\-/-/g')
    words=$(grep -oE -- '--[a-z-]+' <<<"$help" | sort -u)
    words+=" "$(sed -n '/^Commands:/,$p' <<<"$help" | awk 'NR > 1 {print $1}')
    for w in $words; do
        grep -qE -- "^\.B[IR]* $w( |$)" <<<"$page" || fail "$p.1 lacks $w"
    done
done
echo "package $(basename "$deb"): contents as expected"
