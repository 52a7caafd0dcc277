#!/usr/bin/env bash
# Builds everything, packs the sample installer (the hosted stashwell-setup
# carrying the sample modules), and runs it on the sample machine: the NT
# family with one Orca Slim drive at E:, a fresh folder standing for E:.
# Install is pressed as a person would press it. Prints what the person saw,
# then every folder and file on E: with its size and attributes.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh host
cmake --preset host >/dev/null
cmake --build --preset host

build=build/host
work=$(mktemp -d "${TMPDIR:-/tmp}/stashwell-demo.XXXXXX")
installer="$work/StashwellSetup"
drive="$work/E"
mkdir "$drive"

"$build/tools/pack/stashwell-pack" build --stub "$build/src/frontends/terminal/stashwell-setup" \
    --manifest examples/payload/manifest.json --out "$installer"
echo
echo "== The sample installer $installer carries these modules =="
"$build/tools/pack/stashwell-pack" list "$installer"

echo
echo "== The installer on examples/machines/orca-slim-nt.reg, drive E: = $drive =="
echo "== (the person presses i for Install; boxes go on at once when input is scripted) =="
printf 'i\n' | "$installer" --registry examples/machines/orca-slim-nt.reg --drive "E=$drive"

echo
echo "== Drive E: afterwards: size, attributes, path =="
"$installer" --drive "E=$drive" --tree E
