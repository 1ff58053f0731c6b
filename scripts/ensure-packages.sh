# Sourced by ./run and ./test: installs the Debian packages the project needs, once.
vuva_packages=(g++ cmake ninja-build ccache qt6-base-dev qt6-serialport-dev xvfb xauth)
# Batch printing: spreadsheets (zip archives) and the journal (SQLite).
vuva_packages+=(libquazip1-qt6-dev libqt6sql6-sqlite)
# The package build and its check, and the network line test.
vuva_packages+=(dpkg-dev desktop-file-utils socat)
vuva_missing=()
for p in "${vuva_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || vuva_missing+=("$p")
done
if [ ${#vuva_missing[@]} -gt 0 ]; then
    echo "== installing ${vuva_missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${vuva_missing[@]}"
fi
# Rebuilds of sources compiled before (a rerun, a fresh clone) come from the compiler cache.
vuva_cmake_cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
