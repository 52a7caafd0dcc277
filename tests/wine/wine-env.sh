# shellcheck shell=bash
# Helpers of this folder's scripts for running the Windows build under Wine in
# a 32-bit prefix inside the build folder. The mount manager rewrites
# "System\MountedDevices" whenever a session of Wine's server starts, and
# HKEY_DYN_DATA is never saved: so a run maps its drives, starts a session,
# imports its .reg files and runs its programs before the session stops.

# Selects the prefix for every Wine call after this one, in English (United
# States: code page 1252 and the system's English texts) and without Mono or
# Gecko, which nothing here needs and Wine would offer to download.
wine_use_prefix() {
    export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES=mscoree,mshtml=
}

# Runs the calling script ("$0" "$@") again on a virtual X display if none.
wine_need_display() {
    [ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
}

# Creates the prefix unless it is complete (the registry comes before the files).
wine_prefix_create() {
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && return
    mkdir -p "$WINEPREFIX"
    wineboot -i
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
