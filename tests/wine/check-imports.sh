#!/usr/bin/env bash
# Checks that each Windows executable given imports system DLLs only: those
# that every 32-bit Windows of both families carries.
# Usage: check-imports.sh EXE... ; prints one line per executable and the count.
set -euo pipefail

allowed="advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll shlwapi.dll user32.dll"
passed=0
failed=0
for exe in "$@"; do
    imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    foreign=""
    for dll in $imports; do
        case " $allowed " in
            *" $dll "*) ;;
            *) foreign="$foreign $dll" ;;
        esac
    done
    if [ -z "$foreign" ]; then
        echo "ok   $(basename "$exe") imports only system DLLs:" $imports
        passed=$((passed + 1))
    else
        echo "FAIL $(basename "$exe") imports$foreign"
        failed=$((failed + 1))
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
