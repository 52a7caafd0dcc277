#!/usr/bin/env bash
# The end-to-end tests under Wine. Builds the installer for Windows, packs
# the sample installer StashwellSetup.exe, an installer that carries only
# Kestrel modules and the sample installer on the test stub
# (StashwellSetupFaults.exe), builds the test driver, prepares one Wine
# prefix inside the build folder and runs every scenario of scenarios/ on
# both families: the NT family (the prefix's own Windows) and the 95 family
# (Windows 98).
#
# A scenario file holds the driver's steps (see driver/scenario.h) and the
# lines read here:
#   machine NAME                 the drives of machines/NAME.reg ("none": no
#                                supported drive), as the family sees them
#   installer FILE               the installer to run from C:\Stashwell
#   file X:\PATH                 an older file at the target before the run
#   readonly X:\PATH             the same, read-only
#   environment NAME=VALUE       an environment variable of the installer,
#                                such as STASHWELL_FAIL_ALLOCATION=N, with
#                                which the test installer
#                                StashwellSetupFaults.exe fails its Nth
#                                allocation
#   expect X LAYOUT [except P..] afterwards drive X holds the modules of
#                                layouts/LAYOUT.files byte for byte, hidden
#                                where listed, and nothing else; the paths
#                                after "except" keep their older contents
#   expect X empty               afterwards drive X holds nothing
# The driver's transcript is compared with scenarios/NAME.expected, or with
# scenarios/NAME.FAMILY.expected where a family sees something else.
# Screenshots of the pictures and of every message box go to
# BUILD/wine-e2e/screenshots as PNG (tests/wine/renew-screenshots.sh copies
# the ones the README shows into docs/).
#
# Usage: tests/wine/e2e.sh [BUILD_DIR [SCENARIO...]]
# BUILD_DIR defaults to build/win32; the packer comes from build/host, or
# from the host build folder in $STASHWELL_HOST_BUILD. Prints one line per
# check and "N passed, N failed"; exits non-zero when a check failed.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(mkdir -p "${1:-$root/build/win32}" && cd "${1:-$root/build/win32}" && pwd)"
shift || true
for tool in wine wineserver xvfb-run; do
    if ! command -v "$tool" >/dev/null; then
        echo "e2e: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done
source "$here/wine-env.sh"
wine_need_display "$0" "$build" "$@"

scenarios=("$@")
if [ ${#scenarios[@]} -eq 0 ]; then
    for file in "$here"/scenarios/*.scenario; do
        scenarios+=("$(basename "$file" .scenario)")
    done
fi

# Builds: the host's packer, then the Windows programs and StashwellSetup.exe.
host="${STASHWELL_HOST_BUILD:-$root/build/host}"
if [ ! -f "$host/build.ninja" ]; then
    cmake --preset host -B "$host" >/dev/null
fi
cmake --build "$host" --target stashwell-pack >/dev/null
pack="$host/tools/pack/stashwell-pack"
cmake --preset win32 -B "$build" -DSTASHWELL_PACK="$pack" >/dev/null
cmake --build "$build" --target stashwell-setup stashwell-setup-faults sample-installer wizard-driver \
    >/dev/null

work="$build/wine-e2e"
rm -rf "$work"
mkdir -p "$work/transcripts" "$work/screenshots" "$work/logs"
"$pack" build --stub "$build/stashwell-setup.exe" --manifest "$here/kestrel-only.json" \
    --out "$work/KestrelOnlySetup.exe" >/dev/null
"$pack" build --stub "$build/stashwell-setup-faults.exe" \
    --manifest "$root/examples/payload/manifest.json" --out "$work/StashwellSetupFaults.exe" >/dev/null

passed=0
failed=0
pass() {
    echo "ok   $1"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL $1"
    failed=$((failed + 1))
}

if "$here/check-stub.sh" "$build/stashwell-setup.exe" "$build/stashwell-setup-faults.exe" \
    >"$work/logs/stub.log"; then
    pass "the stubs hold 80386 code and import what Windows 95 and NT 4.0 export"
else
    cat "$work/logs/stub.log"
    fail "the stubs hold 80386 code and import what Windows 95 and NT 4.0 export"
fi

# The prefix, its drives E: and F:, and the installers in C:\Stashwell.
wine_use_prefix "$build/wineprefix"
wine_prefix_create >/dev/null 2>&1
wine_map_drive e "$work/drives/e"
wine_map_drive f "$work/drives/f"
programs="$WINEPREFIX/drive_c/Stashwell"
rm -rf "$programs"
mkdir -p "$programs"
cp "$build/StashwellSetup.exe" "$work/KestrelOnlySetup.exe" "$work/StashwellSetupFaults.exe" \
    "$programs/"

# An absolute Linux path as Wine's drive Z: shows it.
windows_path() {
    local path="$1"
    printf 'Z:%s' "${path//\//\\}"
}

# The Linux path of a path on drive E: or F:.
drive_path() {
    local path="$1"
    local letter="${path:0:1}"
    local rest="${path:3}"
    printf '%s/%s' "$work/drives/${letter,,}" "${rest//\\//}"
}

older_contents() {
    printf 'an older %s\r\n' "$1"
}

is_hidden() {
    local attributes
    attributes=$(getfattr --only-values -n user.DOSATTRIB "$1" 2>/dev/null || echo 0)
    (((attributes & 2) != 0))
}

# Checks a drive after a run; prints what is wrong, if anything.
check_drive() {
    local drive="$work/drives/${1,,}" layout="$2"
    shift 2
    local kept=" ${*#except} "
    if [ "$layout" = empty ]; then
        if [ -n "$(ls -A "$drive")" ]; then
            echo "drive $1 is not empty:" $(cd "$drive" && find . -type f)
        fi
        return
    fi
    local count=0 path source hidden
    while read -r path source hidden; do
        case "$path" in '#'* | '') continue ;; esac
        count=$((count + 1))
        local file="$drive/$path"
        if [[ "$kept" == *" $path "* ]]; then
            cmp -s "$file" <(older_contents "${path//\//\\}") || echo "$path lost its older contents"
            continue
        fi
        cmp -s "$file" "$root/examples/payload/$source" || echo "$path differs from $source"
        if [ "$hidden" = hidden ] && ! is_hidden "$file"; then
            echo "$path is not hidden"
        elif [ "$hidden" != hidden ] && is_hidden "$file"; then
            echo "$path is hidden"
        fi
    done <"$here/layouts/$layout.files"
    local present
    present=$(find "$drive" -type f | wc -l)
    [ "$present" -eq "$count" ] || echo "drive holds $present files, not $count"
}

# One .reg file that leaves exactly the machine's drives of one family in
# the registry: every drive is unplugged, the machine's are plugged in, and
# the other family's keys go again, so that a run that took the installer for
# the wrong family would find no drive.
machine_for() {
    local family="$1" machine="$2" other=nt
    [ "$family" = nt ] && other=9x
    local files=("$here/machines/unplug-nt.reg" "$here/machines/unplug-9x.reg")
    [ "$machine" = none ] || files+=("$here/machines/$machine.reg")
    files+=("$here/machines/unplug-$other.reg")
    echo REGEDIT4
    local file
    for file in "${files[@]}"; do
        tail -n +2 "$file"
        echo
    done
}

run_scenario() {
    local family="$1" name="$2"
    local scenario="$here/scenarios/$name.scenario"
    local machine=none installer=StashwellSetup.exe
    local expectations=() environment=()
    rm -rf "$work/drives/e" "$work/drives/f"
    mkdir -p "$work/drives/e" "$work/drives/f"
    local verb argument
    while read -r verb argument; do
        case "$verb" in
            machine) machine="$argument" ;;
            installer) installer="$argument" ;;
            file | readonly)
                local target
                target=$(drive_path "$argument")
                mkdir -p "$(dirname "$target")"
                older_contents "${argument:3}" >"$target"
                [ "$verb" = file ] || chmod a-w "$target"
                ;;
            environment) environment+=("$argument") ;;
            expect) expectations+=("$argument") ;;
        esac
    done < <(sed 's/#.*//' "$scenario")

    machine_for "$family" "$machine" >"$work/machine.reg"
    wine_import "$work/machine.reg"
    local transcript="$work/transcripts/$family-$name.txt"
    local status=0
    env "${environment[@]}" timeout 600 wine "$build/tests/wine/driver/wizard-driver.exe" \
        "$(windows_path "$scenario")" "C:\\Stashwell\\$installer" \
        "$(windows_path "$transcript")" \
        "$(windows_path "$work/screenshots")\\$family-$name-" \
        "$(windows_path "$here/machines")" >"$work/logs/$family-$name.log" 2>&1 || status=$?

    local expected="$here/scenarios/$name.$family.expected"
    [ -f "$expected" ] || expected="$here/scenarios/$name.expected"
    local problems=""
    [ "$status" -eq 0 ] || problems+="the driver stopped with status $status"$'\n'
    if ! diff -u "$expected" "$transcript" >"$work/logs/$family-$name.diff" 2>&1; then
        problems+="$(cat "$work/logs/$family-$name.diff")"$'\n'
    fi
    local expectation
    for expectation in "${expectations[@]}"; do
        # shellcheck disable=SC2086
        problems+="$(check_drive $expectation)"
    done
    if [ -z "$problems" ]; then
        pass "$family $name"
    else
        fail "$family $name"
        printf '%s\n' "$problems" | sed 's/^/     /'
    fi
}

start=$SECONDS
wine_session_start
wine_import "$here/desktop.reg"
for family in nt 9x; do
    wine_import "$here/machines/family-$family.reg"
    for name in "${scenarios[@]}"; do
        run_scenario "$family" "$name"
    done
done
wine_session_stop

# The driver writes PPM; the screenshots are kept as PNG.
for ppm in "$work/screenshots"/*.ppm; do
    [ -e "$ppm" ] || continue
    pnmtopng "$ppm" >"${ppm%.ppm}.png" && rm "$ppm"
done

echo "scenarios ran in $((SECONDS - start)) s; screenshots in $work/screenshots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
