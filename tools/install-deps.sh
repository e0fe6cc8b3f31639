#!/bin/bash
# Installs what building, testing and packaging need on Debian: the MinGW-w64 cross
# compiler, Python 3 (which draws the web app's icons), Wine, Xvfb, socat, CMake,
# GoogleTest's sources, NSIS, zip, and Chromium with its driver, Selenium and zbar for
# the web remote's browser and QR code tests, tcpdump for their capture of the traffic,
# iproute2 for the tests' network namespace, and Node.js with npm (when the machine has
# none) for the page's crypto modules and their tests. Skips apt when all are there.
set -euo pipefail
packages="cmake g++ make python3 mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 xvfb socat googletest nsis zip unzip
  iproute2 chromium chromium-driver python3-selenium zbar-tools tcpdump"
command -v node >/dev/null && command -v npm >/dev/null || packages="$packages nodejs npm"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq $missing
