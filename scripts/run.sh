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
  port="${ORVANE_VNC_PORT:-5900}"
  export QT_QPA_PLATFORM="vnc:size=660x660:port=${port}"
  echo "No display found: the handheld's screen is served over VNC on port ${port}."
  echo "Connect with a VNC viewer, for example: vncviewer localhost::${port}"
  echo "(from another machine: ssh -L ${port}:localhost:${port} this-machine, then the same)"
  echo "Note: Qt's VNC server listens on every network interface and asks for no password; keep port ${port}"
  echo "closed to other machines (firewall) and reach it through ssh as above."
fi
exec build/bin/orvane "${program[@]}"
