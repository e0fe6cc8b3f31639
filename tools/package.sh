#!/bin/bash
# Builds the release server and makes the two things a Windows user downloads:
#   dist/QuorvelServer-VERSION-setup.exe     the setup program (/S for a silent install)
#   dist/QuorvelServer-VERSION-portable.zip  the exe, a README and a sample settings file
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh --target dist
rm -rf dist
mkdir dist
cp build/dist/QuorvelServer-*-setup.exe build/dist/QuorvelServer-*-portable.zip dist/
ls -l dist
