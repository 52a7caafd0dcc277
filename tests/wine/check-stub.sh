#!/usr/bin/env bash
# Checks that each installer stub given can start on every Windows of both
# families, from Windows 95 on the 80386 and NT 4.0 on:
# - its code holds no instruction newer than the 80386 (none of the 486, the
#   Pentium or later processors), no x87 instruction and no MMX or SSE
#   register;
# - it imports from kernel32, user32, gdi32, advapi32 and comctl32 only, and
#   only the functions of allowed-imports.txt, each of which Windows 95 and
#   NT 4.0 export;
# - its PE header asks for subsystem version 4.0 and has no TLS directory.
# Usage: check-stub.sh EXE... ; prints one line per check, exits non-zero
# when one failed.
set -euo pipefail
allowed="$(cd "$(dirname "$0")" && pwd)/allowed-imports.txt"
failed=0
# A check: its name, then what is wrong (nothing when it passed).
report() {
    if [ -z "$2" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1" && printf '%s\n' "$2" | sed 's/^/     /' && failed=$((failed + 1))
    fi
}

# The allowed list itself: the five DLLs, and each function exported by the
# first release of both families' fourth version or earlier.
report "allowed-imports.txt names only functions of Windows 95 and NT 4.0" "$(awk '
    /^#/ || NF == 0 { next }
    NF != 4 { print "line " NR ": not DLL FUNCTION 95-FAMILY NT-FAMILY"; next }
    $1 !~ /^(kernel32|user32|gdi32|advapi32|comctl32)\.dll$/ { print "line " NR ": " $1 }
    $3 != "95" { print "line " NR ": " $2 " is not exported by Windows 95" }
    $4 !~ /^NT(3\.1|3\.5|3\.51|4\.0)$/ { print "line " NR ": " $2 " is not exported by NT 4.0" }
' "$allowed")"

for exe in "$@"; do
    name=$(basename "$exe")
    # Mnemonics of the 486 (bswap, cmpxchg, xadd, invd, wbinvd, invlpg), the
    # Pentium (cmpxchg8b, cpuid, rdtsc, rdmsr, wrmsr, rsm), the Pentium Pro
    # and later (cmov, fcmov, fcomi, fucomi, rdpmc, ud2, the long nop nopw and
    # nopl, sysenter, sysexit, ...); every mnemonic beginning with f is x87.
    code=$(i686-w64-mingw32-objdump -d --no-show-raw-insn "$exe")
    header=$(i686-w64-mingw32-objdump -p "$exe")
    report "$name holds code for the 80386 only" "$(awk -F'\t' '
        NF < 2 { next }
        {
            split($2, words, " ")
            mnemonic = words[1]
            if (mnemonic ~ /^(lock|rep|repz|repnz|data16|addr16)$/) mnemonic = words[2]
        }
        mnemonic ~ /^(bswap|cmpxchg|xadd|invd|wbinvd|invlpg|cpuid|rdtsc|rdtscp|rdmsr|wrmsr|rsm|cmov|rdpmc|ud2|nopw|nopl|sysenter|sysexit|syscall|sysret|emms|femms|pause|prefetch|[lms]fence|clflush|movnti|popcnt|lzcnt|tzcnt|movbe|crc32)/ ||
        mnemonic ~ /^f/ || $2 ~ /%[xyz]?mm[0-9]/ { print $1 " " $2 }
    ' <<<"$code" | head -20)"
    # Each import as "dll function" (or "dll ordinal..."), checked against the list.
    report "$name imports only allowed functions of the five DLLs" "$(awk '
        NR == FNR { if ($0 !~ /^#/ && NF == 4) allowed[tolower($1) " " $2] = 1; next }
        /^\tDLL Name: / { dll = tolower(substr($2, 11)); next }
        dll != "" && NF >= 3 && $3 ~ /^ *[0-9]+ +[^ ]/ {
            n = split($3, words, " ")
            found[dll " " (n >= 2 ? words[n] : "ordinal:" words[1])] = 1
            next
        }
        dll != "" && NF >= 3 && $2 ~ /^[0-9a-f]+$/ && $3 ~ /^ *<none>/ { found[dll " ordinal"] = 1 }
        /^ [0-9a-f]+\t/ { dll = "" }
        END {
            for (import in found) if (!(import in allowed)) print import " is not an allowed import"
            if (length(found) == 0) print "no import table found"
        }
    ' FS=' ' "$allowed" FS='\t' - <<<"$header" | sort)"

    report "$name asks for subsystem version 4.0 and has no TLS directory" "$(awk '
        /^MajorSubsystemVersion/ { major = $2 }
        /^MinorSubsystemVersion/ { minor = $2 }
        /Thread Storage Directory/ && ($3 != "00000000" || $4 != "00000000") { print "it has a TLS directory" }
        END { if (major != 4 || minor != 0) print "subsystem version " major "." minor ", not 4.0" }
    ' <<<"$header")"
done

[ "$failed" -eq 0 ]
