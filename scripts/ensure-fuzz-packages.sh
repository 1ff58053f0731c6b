# Sourced by ./fuzz: installs clang and its libFuzzer runtime, once.
vuva_fuzz_packages=(clang-14 libclang-rt-14-dev)
vuva_fuzz_missing=()
for p in "${vuva_fuzz_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || vuva_fuzz_missing+=("$p")
done
if [ ${#vuva_fuzz_missing[@]} -gt 0 ]; then
    echo "== installing ${vuva_fuzz_missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${vuva_fuzz_missing[@]}"
fi
