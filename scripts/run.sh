#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the default handheld. Arguments go to the
# program (for example --handheld DIR). Without a display the handheld's screen is served over VNC.
# A handheld without the program gets it through orvane-install (in English); "--language NAME" installs it
# again in that language (and its help, where there is one) before the start.
set -euo pipefail
cd "$(dirname "$0")/.."

language=""
handheld=()
program=()
while [ $# -gt 0 ]; do
  case "$1" in
    --language) language="${2:?--language needs a name, for example German}"; shift 2 ;;
    --language=*) language="${1#--language=}"; shift ;;
    --handheld) handheld=(--handheld "${2:?--handheld needs a folder}"); program+=("$1" "$2"); shift 2 ;;
    --handheld=*) handheld=("$1"); program+=("$1"); shift ;;
    *) program+=("$1"); shift ;;
  esac
done

scripts/install-deps.sh
scripts/build.sh default

if [ -n "$language" ]; then
  if [ ! -f "build/share/orvane/package/${language}.ln1" ]; then
    echo "No language '${language}' in the package; it has:" $(cd build/share/orvane/package && ls *.ln1 | sed 's/\.ln1$//') >&2
    exit 2
  fi
  help_language=English
  [ -f "build/share/orvane/windows/${language}.zanthht1" ] && help_language="$language"
  echo "Installing the program on the handheld again, in ${language} (help: ${help_language})."
  build/bin/orvane-install "${handheld[@]}" --uninstall
  build/bin/orvane-install "${handheld[@]}" --language "$language" --help-language "$help_language"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  # No display: a virtual X server shows the handheld, and a VNC server that only this machine can reach
  # (bound to localhost) serves it.
  scripts/install-deps.sh screen
  port="${ORVANE_VNC_PORT:-5900}"
  display=":${ORVANE_X_DISPLAY:-77}"
  Xvfb "$display" -screen 0 800x720x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null; [ -n "${vnc_pid:-}" ] && kill "$vnc_pid" 2>/dev/null' EXIT
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
  x11vnc -display "$display" -localhost -rfbport "$port" -forever -shared -quiet -nopw >/dev/null 2>&1 &
  vnc_pid=$!
  export DISPLAY="$display"
  echo "No display found: the handheld's screen is served over VNC on localhost port ${port} only."
  echo "Connect on this machine with a VNC viewer, for example: vncviewer localhost::${port}"
  echo "From another machine, through ssh: ssh -L ${port}:localhost:${port} this-machine, then the same."
  build/bin/orvane "${program[@]}"
  exit $?
fi
exec build/bin/orvane "${program[@]}"
