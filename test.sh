#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build test
scripts/build.sh
# The Debian package, build/jev_<version>_<arch>.deb; its test makes and checks one of its own.
(cd build && cpack -G DEB >/dev/null)
# A program's first start on a new machine otherwise builds the font cache, slowly, in a test.
if command -v fc-cache >/dev/null; then fc-cache >/dev/null 2>&1 || true; fi
cd build
ctest --output-on-failure -j"$(nproc)"
# The sanitizer build takes longer than this whole run (12 minutes on two busy cores), so it runs
# when asked for: JEV_SANITIZE=1 ./test.sh
if [ "${JEV_SANITIZE:-0}" = 1 ]; then
    ../scripts/sanitize.sh
fi
