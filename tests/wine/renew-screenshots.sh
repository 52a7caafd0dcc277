#!/usr/bin/env bash
# Renews the screenshots the README shows: runs the scenarios that picture
# the page (a drive found, no drive, a drive whose modules the installer
# lacks) and the refusal's box, and copies the NT family's into docs/.
# Usage: tests/wine/renew-screenshots.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/win32}"
"$root/tests/wine/e2e.sh" "$build" install-kestrel picture-no-drive picture-not-included refusal
shots="$build/wine-e2e/screenshots"
docs="$root/docs/screenshots"
mkdir -p "$docs"
# Each picture is cut to the window it shows, off the black of the empty desktop.
while read -r shot name; do
    pngtopnm "$shots/$shot.png" | pnmcrop -black | pnmtopng >"$docs/$name.png"
done <<'EOF_SHOTS'
nt-install-kestrel-ready page-ready
nt-picture-no-drive-no-drive page-no-drive
nt-picture-not-included-not-included page-not-included
nt-refusal-box-1 box-refusal
EOF_SHOTS
echo "screenshots renewed in $docs"
