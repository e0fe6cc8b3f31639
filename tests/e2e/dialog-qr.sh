#!/bin/bash
# The QR code in the web remote's dialog decodes to the address it shows with the
# key it shows: the screenshot tool saves the dialog as the user sees it and
# prints the key, zbarimg reads the code.
#   dialog-qr.sh RIG_DIR SCREENSHOTS_EXE WORK_DIR
set -euo pipefail
rig=$1 exe=$2 out=$3/dialog-qr
rm -rf "$out" && mkdir -p "$out"
shown=$("$(dirname "$0")/../rig/rig.sh" run "$rig" "$exe" "Z:$(realpath "$out" | tr / '\\')")
key=$(sed -n 's/^key \([0-9A-Z-]*\)\r*$/\1/p' <<<"$shown")
decoded=$(zbarimg -q --raw "$out/web-remote-dialog.bmp")
echo "decoded: $decoded, the dialog's key: $key"
# The first address the dialog lists, with the key the dialog shows after "#k=".
[[ $key =~ ^[0-9A-Z]{4}-[0-9A-Z]{4}-[0-9A-Z]{4}-[0-9A-Z]{4}$ ]]
[[ $decoded =~ ^http://[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+:7655/#k=$key$ ]]
