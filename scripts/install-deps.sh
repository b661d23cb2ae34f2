#!/usr/bin/env bash
# Installs the Debian packages that are missing from the given groups: build, test, fuzz.
# Does nothing (and needs no network) when everything is already there.
set -euo pipefail

build_packages=(g++ make cmake qt6-base-dev libx11-dev libxtst-dev libxkbcommon-dev xdg-utils file
                libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us flite1-dev libpulse-dev
                pkgconf libwebrtc-audio-processing-dev libspeexdsp-dev
                qt6-qpa-plugins fonts-dejavu-core qt6-svg-dev libqt6svg6 dpkg-dev)
test_packages=(clang-format util-linux xvfb openbox x11-xkb-utils espeak-ng flite sox pulseaudio
               pulseaudio-utils desktop-file-utils appstream lintian)
# clang and its runtime (libFuzzer) build the fuzz harnesses of scripts/fuzz.sh; the corpus
# replay of ./test.sh builds with the usual compiler and needs neither.
fuzz_packages=(clang libclang-rt-14-dev)

wanted=()
for group in "$@"; do
    case "$group" in
    build) wanted+=("${build_packages[@]}") ;;
    test) wanted+=("${test_packages[@]}") ;;
    fuzz) wanted+=("${fuzz_packages[@]}") ;;
    *) echo "install-deps.sh: unknown group $group" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
