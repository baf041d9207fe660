#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
#   ./run.sh                         the window on the built-in simulator (COM1)
#   ./run.sh --port-map COM1=/dev/ttyUSB0   the window on a real programmer
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
  echo "No display. Start the window from a desktop session, or without one with:" >&2
  echo "  xvfb-run ./build/kvr ${args[*]}" >&2
  exit 0
fi
exec ./build/kvr "${args[@]}"
