#!/usr/bin/env bash
# Builds the Debian package of JEV! Voice Command and installs it with apt-get, which also brings
# the packages it needs at run time. Remove it again with: sudo apt-get remove jev
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
scripts/build.sh
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/jev_*.deb)
if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
"${as_root[@]}" apt-get install -y "./$deb"
echo "Installed: start JEV! Voice Command from the applications menu, or run jev."
