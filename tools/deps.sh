#!/bin/sh
# Installs the Debian packages the build and the tests need, only when one is missing.
set -e
PKGS="cmake make g++ clang libgtest-dev libgmock-dev googletest libbenchmark-dev libcli11-dev nlohmann-json3-dev python3"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing" >&2
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
