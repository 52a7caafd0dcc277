#!/usr/bin/env bash
# Installs, as root, the Debian packages that the build and the tests need and
# that this machine lacks. With "host", only what the Linux build needs (the
# demo's share); without, everything the test command uses.
set -euo pipefail

packages=(
    cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev libssl-dev attr
)

if [ "${1:-}" != host ]; then
    # The fuzz targets (clang with libFuzzer) and the static analysers.
    packages+=(clang-14 libclang-rt-14-dev clang-tidy-14 cppcheck python3)

    # The Windows build and its end-to-end tests under Wine, on a virtual
    # display; Wine's 32-bit half comes from Debian's i386 architecture.
    # Its screenshots are turned into PNG with netpbm.
    packages+=(g++-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb xauth netpbm)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
