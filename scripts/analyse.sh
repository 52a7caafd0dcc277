#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) and cppcheck over src/ and
# tools/: the sources that the host build compiles, as its
# compile_commands.json lists them, then src/platform/win32 and
# src/frontends/win32 as the 32-bit Windows cross build compiles them. Any
# finding fails.
#
#   scripts/analyse.sh [host build folder, default build/host]
set -euo pipefail
cd "$(dirname "$0")/.."
host=${1:-build/host}
win32=build/analyse-win32
mingw=i686-w64-mingw32-g++-win32

for tool in run-clang-tidy-14 clang-tidy-14 cppcheck python3 "$mingw"; do
    if ! command -v "$tool" >/dev/null; then
        echo "analyse: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# analyse NAME LABEL BUILD PATTERN [clang-tidy and cppcheck arguments]:
# checks the C++ sources of the build whose path matches PATTERN.
analyse() {
    local name=$1 label=$2 build=$3 pattern=$4
    shift 4
    mkdir -p "$work/$name"
    python3 - "$build/compile_commands.json" "$work/$name/compile_commands.json" "$pattern" <<'PY'
import json, re, sys
commands = json.load(open(sys.argv[1]))
ours = [c for c in commands if re.search(sys.argv[3], c["file"]) and c["file"].endswith(".cpp")]
# Code-generation options that clang cannot analyse with are left out: GCC's
# own loop option, and the lack of x87 registers, without which clang refuses
# the standard headers' long double functions.
for c in ours:
    for option in (" -mgeneral-regs-only", " -fno-tree-loop-distribute-patterns"):
        c["command"] = c["command"].replace(option, "")
json.dump(ours, open(sys.argv[2], "w"))
PY
    local tidy=() check=()
    for argument in "$@"; do
        case $argument in
            -extra-arg=*) tidy+=("$argument") ;;
            *) check+=("$argument") ;;
        esac
    done
    if ! run-clang-tidy-14 -p "$work/$name" -clang-tidy-binary clang-tidy-14 -j "$(nproc)" \
        -quiet "${tidy[@]}" >"$work/$name/tidy.log" 2>&1; then
        grep -E "(warning|error):" "$work/$name/tidy.log" | sort -u >&2 ||
            tail -20 "$work/$name/tidy.log" >&2
        echo "analyse: clang-tidy found the faults above in $label" >&2
        exit 1
    fi
    cppcheck --project="$work/$name/compile_commands.json" --std=c++20 -q -j "$(nproc)" \
        --enable=warning,performance,portability --inline-suppr \
        --suppressions-list=scripts/cppcheck-suppressions.txt --error-exitcode=1 \
        --template='{file}:{line}: {severity}: {message} [{id}]' "${check[@]}"
    echo "analyse: clang-tidy and cppcheck clean on $label" \
        "($(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))))' \
            "$work/$name/compile_commands.json") sources)"
}

analyse host "src/ and tools/" "$host" '/(src|tools)/'

# The cross build's compile commands; clang needs the target and the MinGW
# compiler's own include folders.
cmake --preset win32 -B "$win32" >/dev/null
mingw_includes=()
while read -r folder; do
    mingw_includes+=("-extra-arg=-isystem$(realpath "$folder")")
done < <(echo | "$mingw" -xc++ -std=c++20 -E -v - 2>&1 |
    sed -n '/#include <...> search starts here:/,/End of search list./s/^ //p')
analyse win32 "src/platform/win32 and src/frontends/win32" "$win32" '/src/(platform|frontends)/win32/' \
    -extra-arg=--target=i686-w64-mingw32 "${mingw_includes[@]}" --platform=win32A --library=windows
