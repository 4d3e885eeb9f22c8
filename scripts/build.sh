#!/usr/bin/env bash
# Configures and builds one preset (default: "default"): scripts/build.sh [asan]. Compiles through ccache
# when it is installed (CCACHE_DISABLE=1 turns it off for one run).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
launcher=""
if command -v ccache >/dev/null; then launcher=ccache; fi
cmake --preset "$preset" -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
