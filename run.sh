#!/usr/bin/env bash
# Installs what is missing, builds, and starts JEV! Voice Command.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
scripts/build.sh
exec build/bin/jev "$@"
