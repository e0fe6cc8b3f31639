#!/bin/bash
# Makes the setup program and the portable zip from a built QuorvelServer.exe.
#   make-dist.sh EXE VERSION OUTDIR STRIP
# Fixed file times, modes and order: the same commit gives the same bytes.
set -euo pipefail
exe=$1 version=$2 out=$(realpath -m "$3") strip=$4
here=$(cd "$(dirname "$0")" && pwd)
# The commit's time, for the files' times and for the time stamp strip writes.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 946684800)}

rm -f "$out"/QuorvelServer-*
stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage"
"$strip" -o "$stage/QuorvelServer.exe" "$exe"
# Windows line ends for Notepad and the profile functions.
sed "s/@VERSION@/$version/g; s/\$/\r/" "$here/README.txt" >"$stage/README.txt"
sed 's/$/\r/' "$here/QuorvelServer.ini" >"$stage/QuorvelServer.ini"
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DSTAGE=$stage" \
  "-DICON=$here/../../res/quorvel.ico" "-DOUTFILE=$out/QuorvelServer-$version-setup.exe" \
  "$here/QuorvelServer.nsi"

zip=$out/QuorvelServer-$version-portable.zip
rm -f "$zip"
(cd "$stage" && TZ=UTC zip -q -X -D "$zip" QuorvelServer.exe QuorvelServer.ini README.txt)
