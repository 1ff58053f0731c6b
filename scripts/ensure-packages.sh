# Sourced by ./run, ./test, ./fuzz and ./package: installs the Debian packages the project needs,
# once, with one function for every list.
vuva_packages=(g++ lld cmake ninja-build ccache qt6-base-dev qt6-serialport-dev xvfb xauth)
# Batch printing: spreadsheets (zip archives) and the journal (SQLite).
vuva_packages+=(libquazip1-qt6-dev libqt6sql6-sqlite)
# The package build and its check, and the network line test.
vuva_packages+=(dpkg-dev desktop-file-utils socat)
# The fuzz build: clang and its libFuzzer runtime.
vuva_fuzz_packages=(clang-14 libclang-rt-14-dev)

# Installs those of the named packages that are missing: as root, or through sudo.
vuva_ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "missing packages: ${missing[*]}; run as root or install sudo" >&2
            return 1
        fi
        as_root=(sudo)
    fi
    echo "== installing ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

vuva_ensure_packages "${vuva_packages[@]}"
# Rebuilds of sources compiled before (a rerun, a fresh clone) come from the compiler cache; the
# precompiled headers need ccache to take their time stamps as they are.
vuva_cmake_cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
# Paths are taken from this clone's root, so a clone elsewhere finds the objects of an earlier one.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
