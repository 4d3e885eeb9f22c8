#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless (Qt offscreen).
# scripts/test.sh asan runs the same tests built with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/install-deps.sh
scripts/build.sh "$preset"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset"
