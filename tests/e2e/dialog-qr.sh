#!/bin/bash
# The QR code in the web remote's dialog decodes to the address it shows: the
# screenshot tool saves the dialog as the user sees it, zbarimg reads it.
#   dialog-qr.sh RIG_DIR SCREENSHOTS_EXE WORK_DIR
set -euo pipefail
rig=$1 exe=$2 out=$3/dialog-qr
rm -rf "$out" && mkdir -p "$out"
"$(dirname "$0")/../rig/rig.sh" run "$rig" "$exe" "Z:$(realpath "$out" | tr / '\\')" >/dev/null
decoded=$(zbarimg -q --raw "$out/web-remote-dialog.bmp")
echo "decoded: $decoded"
# The first address the dialog lists: loopback alone in a test's own network namespace.
[[ $decoded =~ ^http://[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+:7655/$ ]]
