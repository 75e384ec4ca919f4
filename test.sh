#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
scripts/build
status=0
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 600 || status=1
for extra in scripts/test-extra/*; do
  [[ -x "$extra" ]] || continue
  echo "== ${extra##*/}"
  "$extra" || { echo "== ${extra##*/} FAILED"; status=1; }
done
exit $status
