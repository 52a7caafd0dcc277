#!/usr/bin/env bash
# The end-to-end tests under Wine: builds the installers (StashwellSetup.exe,
# KestrelOnlySetup.exe with only the Kestrel modules, StashwellSetupFaults.exe
# on the test stub) and the driver, and runs each scenario (scenarios/README.md)
# as the NT family and as the 95 family in a prefix inside the build folder.
# Usage: tests/wine/e2e.sh [BUILD_DIR [SCENARIO...]]; BUILD_DIR defaults to
# build/win32, the packer's build to build/host or $STASHWELL_HOST_BUILD.
# Prints one line per check and "N passed, N failed"; fails when one failed.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh" "$@"
shift || true
scenarios=("$@")
[ $# -gt 0 ] || mapfile -t scenarios < <(basename -s .scenario "$here"/scenarios/*.scenario)

# Builds: the host's packer, then the Windows programs and the installers.
host="${STASHWELL_HOST_BUILD:-$root/build/host}"
[ -f "$host/build.ninja" ] || cmake --preset host -B "$host" >/dev/null
cmake --build "$host" --target stashwell-pack >/dev/null
pack="$host/tools/pack/stashwell-pack"
cmake --preset win32 -B "$build" -DSTASHWELL_PACK="$pack" >/dev/null
cmake --build "$build" --target stashwell-setup stashwell-setup-faults sample-installer \
    wizard-driver >/dev/null
wine_prefix_create
work="$build/wine-e2e" programs="$WINEPREFIX/drive_c/Stashwell"
rm -rf "$work" "$programs"
mkdir -p "$work/transcripts" "$work/screenshots" "$work/logs" "$programs"
cp "$build/StashwellSetup.exe" "$programs/"
pack_into() { "$pack" build --stub "$build/$1" --manifest "$2" --out "$programs/$3" >/dev/null; }
pack_into stashwell-setup.exe "$here/kestrel-only.json" KestrelOnlySetup.exe
pack_into stashwell-setup-faults.exe "$root/examples/payload/manifest.json" StashwellSetupFaults.exe

# One check, passed when nothing is wrong: its name and what is wrong.
passed=0 failed=0
report() {
    [ -n "$2" ] || { echo "ok   $1" && passed=$((passed + 1)) && return; }
    echo "FAIL $1" && printf '%s\n' "$2" | sed 's/^/     /' && failed=$((failed + 1))
}
stubs=$("$here/check-stub.sh" "$build"/stashwell-setup{,-faults}.exe 2>&1) && stubs="" ||
    stubs+=$'\n'"check-stub.sh failed"
report "the stubs hold 80386 code and import what Windows 95 and NT 4.0 export" "$stubs"

# An absolute Linux path as Wine's drive Z: shows it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# What a file at the target holds before the run.
older_contents() { printf 'an older %s\r\n' "$1"; }

# What is wrong with drive $1 after a run as an expect line says: it holds
# the files of layouts/$2.files (or, for empty, nothing) and no other, the
# paths listed after "except" with their older contents.
check_drive() {
    local letter="$1" layout="$2" drive="$work/drives/${1,,}" count=0 path source hidden
    shift 2
    local kept=" ${*#except} " file attributes want
    [ "$layout" = empty ] || while read -r path source hidden; do
        count=$((count + 1)) file="$drive/$path" want=0
        if [[ "$kept" == *" $path "* ]]; then
            cmp -s "$file" <(older_contents "${path//\//\\}") || echo "$path lost its older contents"
            continue
        fi
        cmp -s "$file" "$root/examples/payload/$source" || echo "$path differs from $source"
        attributes=$(getfattr --only-values -n user.DOSATTRIB "$file" 2>/dev/null || echo 0)
        [ "$hidden" = hidden ] && want=2
        (((attributes & 2) == want)) || echo "$path is $( ((want)) && echo "not ")hidden"
    done < <(grep -v '^#' "$here/layouts/$layout.files" | grep .)
    local present
    present=$(find "$drive" -type f | wc -l)
    [ "$present" -eq "$count" ] || echo "drive $letter holds $present files, not $count"
}

# One .reg file that leaves exactly the machine's drives of one family: all
# are unplugged, the machine's plugged in, and the other family's keys go
# again, so that an installer that took itself for the wrong family finds none.
machine_for() {
    local other=nt name
    [ "$1" = nt ] && other=9x
    echo REGEDIT4
    for name in unplug-nt unplug-9x "$2" "unplug-$other"; do
        [ "$name" = none ] || { tail -n +2 "$here/machines/$name.reg"; echo; }
    done
}

run_scenario() {
    local family="$1" name="$2" run="$1-$2" machine=none installer=StashwellSetup.exe
    local scenario="$here/scenarios/$name.scenario" expectations=() environment=()
    local verb argument letter target expectation status=0 problems=""
    rm -rf "$work/drives/e" "$work/drives/f"
    mkdir -p "$work/drives/e" "$work/drives/f"
    while read -r verb argument; do
        case "$verb" in
            machine) machine="$argument" ;;
            installer) installer="$argument" ;;
            file | readonly)
                letter="${argument:0:1}" target="${argument:3}"
                target="$work/drives/${letter,,}/${target//\\//}"
                mkdir -p "$(dirname "$target")"
                older_contents "${argument:3}" >"$target"
                [ "$verb" = file ] || chmod a-w "$target"
                ;;
            environment) environment+=("$argument") ;;
            expect) expectations+=("$argument") ;;
            start | picture | answer | regedit | install | cancel | "") ;; # the driver's
            *) problems+="unknown step $verb"$'\n' ;;
        esac
    done < <(sed 's/#.*//' "$scenario")

    machine_for "$family" "$machine" >"$work/machine.reg"
    wine_import "$work/machine.reg"
    local transcript="$work/transcripts/$run.txt"
    env "${environment[@]}" timeout 600 wine "$build/tests/wine/driver/wizard-driver.exe" \
        "$(windows_path "$scenario")" "C:\\Stashwell\\$installer" "$(windows_path "$transcript")" \
        "$(windows_path "$work/screenshots")\\$run-" "$(windows_path "$here/machines")" \
        >"$work/logs/$run.log" 2>&1 || status=$?

    local expected="$here/scenarios/$name.$family.expected"
    [ -f "$expected" ] || expected="$here/scenarios/$name.expected"
    [ "$status" -eq 0 ] || problems+="the driver stopped with status $status"$'\n'
    problems+="$(diff -u "$expected" "$transcript" 2>&1)"
    for expectation in "${expectations[@]}"; do
        # shellcheck disable=SC2086
        problems+="$(check_drive $expectation)"
    done
    report "$family $name" "$problems"
}

start=$SECONDS
for letter in e f; do wine_map_drive "$letter" "$work/drives/$letter"; done
wine_session_start
wine_import "$here/desktop.reg"
for family in nt 9x; do
    wine_import "$here/machines/family-$family.reg"
    for name in "${scenarios[@]}"; do run_scenario "$family" "$name"; done
done
wine_session_stop

# The driver writes PPM; the screenshots are kept as PNG.
for ppm in "$work/screenshots"/*.ppm; do
    [ ! -e "$ppm" ] || { pnmtopng "$ppm" >"${ppm%.ppm}.png" && rm "$ppm"; }
done
echo "scenarios ran in $((SECONDS - start)) s; screenshots in $work/screenshots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
