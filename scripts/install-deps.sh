#!/usr/bin/env bash
# Installs the Debian packages the build and the Wine test rig need.
# As root: installs whatever is missing (apt-get update only if something is).
# Otherwise: lists what is missing and fails, so a developer knows what to ask for.
set -euo pipefail

PACKAGES=(
    g++ cmake make                # native tools and host-side test helpers
    g++-mingw-w64-x86-64          # the Windows cross compiler (posix threads variant)
    wine64 wine                   # runs the Windows programs and their tests
    xvfb                          # a display for GUI tests where none exists
    socat                         # the crossed serial lines of the rig
    fonts-wqy-microhei            # Chinese glyphs
    fonts-noto-cjk                # the dialog font replacement: Chinese and the sign U+2103
    xdotool imagemagick x11-utils # driving windows, screenshots, display checks
    googletest                    # /usr/src/googletest, built with the project
    clang                         # fuzzers
    libclang-rt-14-dev            # the libFuzzer runtime and the sanitizers for clang
)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

missing=()
for p in "${PACKAGES[@]}"; do
    installed "$p" || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "install-deps: all ${#PACKAGES[@]} packages present"
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "install-deps: missing packages: ${missing[*]}" >&2
    echo "install-deps: run as root: sudo $0" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]}"
apt-get update -q
apt-get install -y -q "${missing[@]}"

still=()
for p in "${missing[@]}"; do
    installed "$p" || still+=("$p")
done
if [[ ${#still[@]} -ne 0 ]]; then
    echo "install-deps: still missing after install: ${still[*]}" >&2
    exit 1
fi
echo "install-deps: done"
