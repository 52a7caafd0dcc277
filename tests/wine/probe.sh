#!/usr/bin/env bash
# Runs the seam probe (tests/contract's checks and what only Windows has)
# under Wine on a virtual display, on the machine of contract-machine.reg: as
# the NT family, then as the 95 family (Windows 98). Usage: probe.sh
# [BUILD_DIR] (default build/win32, configured with the win32 preset).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(mkdir -p "${1:-$root/build/win32}" && cd "${1:-$root/build/win32}" && pwd)"
source "$here/wine-env.sh"
wine_need_display "$0" "$@"

if [ ! -f "$build/build.ninja" ]; then
    cmake --preset win32 -B "$build" >/dev/null
fi
cmake --build "$build" --target seam-probe >/dev/null
exe="$build/tests/wine/probe/seam-probe.exe"

wine_use_prefix "$build/wineprefix"
wine_prefix_create
drive="$build/wine-drives/probe-e"
rm -rf "$drive"
wine_map_drive e "$drive"
programs="$WINEPREFIX/drive_c/probe"
mkdir -p "$programs"
cp "$exe" "$programs/seam-probe.exe"
cp "$exe" "$programs/seam-probe-9x.exe"

logs="$build/wine-logs"
rm -rf "$logs"
mkdir -p "$logs"

wine_session_start
wine_import "$root/tests/contract/contract-machine.reg"
for run in "seam-probe.exe 2" "seam-probe-9x.exe 1"; do
    set -- $run
    echo "== $1 (platform id $2) =="
    (cd "$programs" && timeout 120 wine "$1" "$2" E) | tee "$logs/${1%.exe}.log" || true
done
wine_session_stop

cat "$logs"/*.log | awk '
    /^[0-9]+ passed, [0-9]+ failed$/ { passed += $1; failed += $3; runs++ }
    END {
        if (runs != 2) { failed++ }
        printf "%d passed, %d failed\n", passed, failed
        exit failed != 0
    }'
