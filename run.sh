#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zorv.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
scripts/build >/dev/null
echo "run.sh: built; the window does not exist yet, nothing more to run."
