# Helpers, sourced by the scripts of this folder, for running the Windows
# build under Wine: a 32-bit prefix inside the build folder, drive letters
# mapped to folders of the build tree, and a registry prepared from .reg
# files. Wine keeps two things only for one session of its server: the mount
# manager rewrites "System\MountedDevices" whenever a session starts, and
# HKEY_DYN_DATA is never saved. So a run maps its drives, starts a session,
# imports its .reg files and runs its programs before the session stops.

# Selects the prefix; every Wine call after this one uses it.
wine_use_prefix() {
    export WINEPREFIX="$1"
    export WINEARCH=win32
    export WINEDEBUG=-all
    # English (United States): the ANSI code page 1252 and the system's
    # English message texts.
    export LC_ALL=C.UTF-8
    # No Mono or Gecko: nothing here needs them, and Wine would offer to
    # download them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Runs the rest of the calling script on a virtual X display, unless one is
# there already: exec this at the top of a script, passing "$0" "$@".
wine_need_display() {
    if [ -z "${DISPLAY:-}" ]; then
        exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
    fi
}

# Creates the prefix when it does not exist yet, or when its creation was
# cut short (the registry is written before the system's files are).
wine_prefix_create() {
    if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i
        wineserver -w
    fi
}

# Maps a drive letter (lower case, such as e) to a folder. Call it while no
# session runs: the mount manager reads the links when a session starts.
wine_map_drive() {
    local letter="$1" folder="$2"
    mkdir -p "$folder"
    ln -sfn "$(cd "$folder" && pwd)" "$WINEPREFIX/dosdevices/$letter:"
}

# Starts a session that lasts until wine_session_stop, and waits until the
# system's services (the mount manager among them) have started.
wine_session_start() {
    wineserver -k 2>/dev/null || true
    wineserver -p
    wine cmd /c exit
}

# Imports a .reg file into the running session.
wine_import() {
    wine regedit /S "$(winepath -w "$1")"
}

wine_session_stop() {
    wineserver -k
    wineserver -w
}
