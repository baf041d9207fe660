#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
#   ./run.sh                         the window on the built-in simulator (COM1)
#   ./run.sh --port-map COM1=/dev/ttyUSB0   the window on a real programmer
# Without a display it runs the command-line demonstration (kvr-cli demo) instead.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
kvr_install_packages
kvr_configure_and_build build -DKVR_BUILD_TESTS=OFF -DKVR_BUILD_BENCH=OFF

args=("$@")
case " ${args[*]-} " in
  *" --port-map"*|*" --sim"*) ;;
  *) args=(--sim "${args[@]}") ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: the command-line demonstration on the simulator (./build/kvr-cli demo)." >&2
  status=0
  ./build/kvr-cli demo || status=$?
  echo "For the window, run ./run.sh in a desktop session, or without one:" >&2
  echo "  xvfb-run ./build/kvr ${args[*]}" >&2
  exit "$status"
fi
exec ./build/kvr "${args[@]}"
