#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the host
# build, then the same suite under AddressSanitizer, LeakSanitizer and UBSan,
# the analysers and a smoke run of the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in host host-asan; do
    echo "== $preset =="
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

# The fault sweeps ran with the suites above; how far each one went.
echo "== fault sweeps =="
build/host/tests/sweeps/sweep_tests | grep '^swept'

# clang-tidy and cppcheck over src/ and tools/, then each fuzz target for a
# short while (scripts/fuzz.sh with more seconds fuzzes for longer).
echo "== analysers =="
scripts/analyse.sh build/host
echo "== fuzz (smoke) =="
scripts/fuzz.sh 12

# The Windows build: the stubs' instruction set, imports and PE header
# (tests/wine/check-stub.sh, which fails the run); the same build again in
# another folder, which must give byte-identical binaries; then under Wine the
# seam probe and the end-to-end scenarios (which pack with the host build's
# stashwell-pack).
echo "== win32 =="
cmake --preset win32 -DSTASHWELL_PACK="$PWD/build/host/tools/pack/stashwell-pack"
cmake --build --preset win32
tests/wine/check-stub.sh build/win32/stashwell-setup.exe build/win32/StashwellSetup.exe \
    build/win32/stashwell-setup-faults.exe
tests/reproducible-build.sh build/win32
# Wine's loader is a 32-bit program: where the kernel runs none, Wine cannot
# start at all, and the runs under it are skipped with a word of why.
if ! command -v wine >/dev/null || ! command -v xvfb-run >/dev/null; then
    if [ "${CI:-}" = true ]; then
        echo "Wine is missing: the Windows tests cannot run" >&2
        exit 1
    fi
    echo "Wine is missing: the tests under Wine are skipped"
elif ! loader=$(wine --version 2>&1); then
    echo "Wine does not start on this machine, which runs no 32-bit programs ($loader):"
    echo "the seam probe and the end-to-end scenarios under Wine are skipped"
else
    tests/wine/probe.sh build/win32
    tests/wine/e2e.sh build/win32
fi
