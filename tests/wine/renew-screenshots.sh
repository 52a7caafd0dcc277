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
cp "$shots/nt-install-kestrel-ready.png" "$docs/page-ready.png"
cp "$shots/nt-picture-no-drive-no-drive.png" "$docs/page-no-drive.png"
cp "$shots/nt-picture-not-included-not-included.png" "$docs/page-not-included.png"
cp "$shots/nt-refusal-box-1.png" "$docs/box-refusal.png"
echo "screenshots renewed in $docs"
