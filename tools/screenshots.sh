#!/bin/bash
# Takes the README's pictures: starts the server under Wine on a private Xvfb
# display in an empty folder, walks through the first-run wizard to the main
# window and the About box, and saves each window as a PNG in docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
command -v python3 >/dev/null || { apt-get update -qq && apt-get install -y -qq python3; }
tools/build.sh
rig=build/shots-rig
out=build/shots
rm -rf "$out"
mkdir -p "$out" docs/screenshots
tests/rig/rig.sh up "$rig" >/dev/null
trap 'tests/rig/rig.sh down "$rig"' EXIT
tests/rig/rig.sh run "$rig" build/bin/quorvel-screenshots.exe "Z:$(realpath "$out" | tr / '\\')"
# 24-bit BMP to PNG with nothing but the standard library.
python3 - "$out" docs/screenshots <<'PY'
import glob, os, struct, sys, zlib
src, dst = sys.argv[1], sys.argv[2]
for bmp in sorted(glob.glob(os.path.join(src, "*.bmp"))):
    data = open(bmp, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = data[offset + y * stride: offset + y * stride + width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    name = os.path.join(dst, os.path.basename(bmp)[:-4] + ".png")
    open(name, "wb").write(png)
    print(name)
PY
unshare -n bash -c "ip link set lo up && tests/rig/rig.sh up $rig-web >/dev/null &&
  /usr/bin/python3 tests/browser/web_remote.py $rig-web build/bin/web-browser-helper.exe \
    --screenshot docs/screenshots/web-remote.png; tests/rig/rig.sh down $rig-web"
echo docs/screenshots/web-remote.png
