#!/bin/bash
# Fetches the pinned crypto packages of the web remote's page (tools/web-vendor/, versions
# and integrity hashes in its package-lock.json) with npm ci, and checks that the module
# files and licences committed under web/page/vendor/ are byte for byte the published ones.
#   vendor-web.sh            check (exit 1 on any difference)
#   vendor-web.sh --update   copy the published files over the committed ones
set -euo pipefail
cd "$(dirname "$0")/.."
# The modules the page imports, with every module they import in turn.
FILES="hashes:LICENSE hashes:hkdf.js hashes:hmac.js hashes:sha2.js hashes:_md.js hashes:_u64.js
  hashes:utils.js ciphers:LICENSE ciphers:aes.js ciphers:_polyval.js ciphers:utils.js"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp tools/web-vendor/package.json tools/web-vendor/package-lock.json "$work/"
# npm ci installs exactly what the lock names and refuses a tarball whose hash differs.
(cd "$work" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >/dev/null)
status=0
for entry in $FILES; do
  package=${entry%%:*} file=${entry#*:}
  published="$work/node_modules/@noble/$package/$file"
  committed="web/page/vendor/noble-$package/$file"
  if [ "${1:-}" = "--update" ]; then
    mkdir -p "$(dirname "$committed")"
    cp "$published" "$committed"
  elif ! cmp -s "$published" "$committed"; then
    echo "vendor-web: $committed is not the file @noble/$package publishes" >&2
    status=1
  fi
done
# The modules must not reach for a file that is not served.
for committed in web/page/vendor/noble-*/*.js; do
  for imported in $(grep -o 'from "\./[^"]*"' "$committed" | cut -d'"' -f2); do
    [ -f "$(dirname "$committed")/$imported" ] && continue
    echo "vendor-web: $committed imports $imported, which is not vendored" >&2
    status=1
  done
done
[ $status = 0 ] && echo "vendor-web: the page's crypto modules are the published ones"
exit $status
