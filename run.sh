#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
#   ./run.sh               the window
#   ./run.sh ARGS...       the window with its options (for example --port-map COM1=/dev/ttyUSB0)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
kvr_install_packages
kvr_configure_and_build build -DKVR_BUILD_TESTS=OFF -DKVR_BUILD_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: start the window from a desktop session, or with: xvfb-run ./build/kvr" >&2
  exit 1
fi
exec ./build/kvr "$@"
