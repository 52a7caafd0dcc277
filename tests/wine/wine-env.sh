# shellcheck shell=bash
# What this folder's scripts share for running the Windows build under Wine,
# sourced with their arguments: the first, the build folder (default
# build/win32), gives $build. The script runs again on a virtual X display if
# none shows, in a 32-bit prefix in the build folder, in English (code page
# 1252) and without Mono or Gecko, which Wine would offer to download. The
# mount manager rewrites "System\MountedDevices" whenever a session of Wine's
# server starts and HKEY_DYN_DATA is never saved: so a run maps its drives,
# starts a session, imports its .reg files and runs its programs in it.
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(mkdir -p "${1:-$root/build/win32}" && cd "${1:-$root/build/win32}" && pwd)"
for tool in wine wineserver xvfb-run; do
    command -v "$tool" >/dev/null && continue
    echo "$(basename "$0"): $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
done
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "${@:2}"
export WINEPREFIX="$build/wineprefix" WINEARCH=win32 WINEDEBUG=-all LC_ALL=C.UTF-8 \
    WINEDLLOVERRIDES=mscoree,mshtml=

# Creates the prefix unless it is complete (the registry comes before the files).
wine_prefix_create() {
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && return
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
}

# Maps a drive letter (lower case, such as e) to a folder, while no session
# runs: the mount manager reads the links when a session starts.
wine_map_drive() {
    mkdir -p "$2"
    ln -sfn "$(cd "$2" && pwd)" "$WINEPREFIX/dosdevices/$1:"
}

# Starts a session and waits for its services, the mount manager among them.
wine_session_start() {
    wineserver -k 2>/dev/null || true
    wineserver -p
    wine cmd /c exit
}

wine_import() { wine regedit /S "$(winepath -w "$1")"; }
wine_session_stop() { wineserver -k; wineserver -w; }
