#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the default handheld. Arguments go to the
# program (for example --handheld DIR). Without a display the handheld's screen is served over VNC.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  port="${ORVANE_VNC_PORT:-5900}"
  export QT_QPA_PLATFORM="vnc:size=660x660:port=${port}"
  echo "No display found: the handheld's screen is served over VNC on port ${port}."
  echo "Connect with a VNC viewer, for example: vncviewer localhost::${port}"
  echo "(from another machine: ssh -L ${port}:localhost:${port} this-machine, then the same)"
  echo "Note: Qt's VNC server listens on every network interface and asks for no password; keep port ${port}"
  echo "closed to other machines (firewall) and reach it through ssh as above."
fi
exec build/bin/orvane "$@"
