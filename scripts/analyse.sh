#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) and cppcheck over the sources of
# src/ and tools/ that a build compiles, as its compile_commands.json lists
# them. Any finding fails.
#
#   scripts/analyse.sh [build folder, default build/host]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/host}

for tool in run-clang-tidy-14 clang-tidy-14 cppcheck python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "analyse: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

# The build's compile commands, cut to the installer's and the tools' sources.
sources=$(mktemp -d)
trap 'rm -rf "$sources"' EXIT
python3 - "$build/compile_commands.json" "$sources/compile_commands.json" <<'PY'
import json, re, sys
commands = json.load(open(sys.argv[1]))
ours = [c for c in commands if re.search(r"/(src|tools)/", c["file"])]
json.dump(ours, open(sys.argv[2], "w"))
print(f"analyse: {len(ours)} sources of src/ and tools/")
PY

# run-clang-tidy reads the flags from the build, the checks from .clang-tidy.
if ! run-clang-tidy-14 -p "$sources" -clang-tidy-binary clang-tidy-14 -j "$(nproc)" -quiet \
    >"$sources/tidy.log" 2>&1; then
    grep -E "(warning|error):" "$sources/tidy.log" | sort -u >&2 || tail -20 "$sources/tidy.log" >&2
    echo "analyse: clang-tidy found the faults above" >&2
    exit 1
fi
echo "analyse: clang-tidy clean"

cppcheck --project="$sources/compile_commands.json" --std=c++20 -q -j "$(nproc)" \
    --enable=warning,performance,portability --inline-suppr \
    --suppressions-list=scripts/cppcheck-suppressions.txt --error-exitcode=1 \
    --template='{file}:{line}: {severity}: {message} [{id}]'
echo "analyse: cppcheck clean"
