#!/usr/bin/env bash
# Runs the seam probe (tests/contract's checks and what only Windows has)
# under Wine on a virtual display, on the machine of contract-machine.reg: as
# the NT family, then as the 95 family (Windows 98, the prefix's setting for
# seam-probe-9x.exe). Usage: probe.sh [BUILD_DIR] (default build/win32,
# configured with the win32 preset).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh" "$@"
[ -f "$build/build.ninja" ] || cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" --target seam-probe >/dev/null

wine_prefix_create
rm -rf "$build/wine-drives/probe-e"
wine_map_drive e "$build/wine-drives/probe-e"
programs="$WINEPREFIX/drive_c/probe" logs="$build/wine-logs"
rm -rf "$logs"
mkdir -p "$programs" "$logs"
for name in seam-probe seam-probe-9x; do
    cp "$build/tests/wine/probe/seam-probe.exe" "$programs/$name.exe"
done

wine_session_start
wine_import "$root/tests/contract/contract-machine.reg"
for run in "seam-probe 2" "seam-probe-9x 1"; do
    set -- $run
    echo "== $1.exe (platform id $2) =="
    (cd "$programs" && timeout 120 wine "$1.exe" "$2" E) | tee "$logs/$1.log" || true
done
wine_session_stop

# Both runs must have ended with their count.
cat "$logs"/*.log | awk '/^[0-9]+ passed, [0-9]+ failed$/ { passed += $1; failed += $3; runs++ }
    END { failed += runs != 2; printf "%d passed, %d failed\n", passed, failed; exit failed != 0 }'
