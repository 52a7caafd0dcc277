#!/usr/bin/env bash
# Builds the Windows installer twice, in BUILD_DIR (default build/win32) and in
# a folder of another name under /tmp, and fails unless stashwell-setup.exe
# and the packed StashwellSetup.exe come out byte-identical in both. Needs the
# host build's stashwell-pack; Wine is not needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
first="$(mkdir -p "${1:-$root/build/win32}" && cd "${1:-$root/build/win32}" && pwd)"
pack="$root/build/host/tools/pack/stashwell-pack"
[ -x "$pack" ] || { echo "reproducible-build: build the host preset first ($pack is missing)" >&2; exit 1; }
elsewhere="$(mktemp -d /tmp/stashwell-elsewhere.XXXXXX)"
trap 'rm -rf "$elsewhere"' EXIT
for build in "$first" "$elsewhere/other-build"; do
    cmake --preset win32 -B "$build" -DSTASHWELL_PACK="$pack" >/dev/null
    cmake --build "$build" --target stashwell-setup sample-installer >/dev/null
done
status=0
for exe in stashwell-setup.exe StashwellSetup.exe; do
    one="$(sha256sum <"$first/$exe" | cut -d' ' -f1)"
    two="$(sha256sum <"$elsewhere/other-build/$exe" | cut -d' ' -f1)"
    [ "$one" = "$two" ] && echo "reproducible: $exe $one" ||
        { echo "NOT reproducible: $exe is $one in $first, $two in a second build" >&2; status=1; }
done
exit "$status"
