#!/usr/bin/env bash
# Screenshots of the window as a user sees it: on a virtual screen (Xvfb) with
# a window manager (openbox), started with `kvr --sim 017` from a fresh home
# folder, after loading a HEX file and after a signature verification.
#
#   scripts/screenshots.sh [OUTDIR]            default OUTDIR: build/screenshots
#   SCREENS="1024x768 2048x1536@2" CHIP=071 scripts/screenshots.sh
#
# Each screen is WIDTHxHEIGHT, with @SCALE for QT_SCALE_FACTOR (2048x1536@2 is
# a 1024x768 desktop at 200 %). The pictures are OUTDIR/kvr-SCREEN-hex.png and
# OUTDIR/kvr-SCREEN-signature.png; look at each one. CHIP (default 017) is
# the catalogue identifier seated in the simulator and chosen last time.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
kvr_install_packages xvfb openbox imagemagick xdotool srecord
kvr_configure_and_build build -- kvr kvr-sim

out=$(realpath -m "${1:-build/screenshots}")
mkdir -p "$out"
read -r -a screens <<<"${SCREENS:-1024x768 1366x768 1920x1080 2048x1536@2}"
chip=${CHIP:-017}
work=$(mktemp -d)
pids=()
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()
}
trap 'stop_all; rm -rf "$work"' EXIT

# A 2 KB image in Intel HEX, as a compiler leaves it.
srec_cat -generate 0 0x800 -repeat-string "KVR 1.04 sample image " -o "$work/sample.hex" -intel

free_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo ":$n"
}

# The program's largest window: the main window.
main_window() {
  local best="" best_area=0 id w h
  for id in $(xdotool search --onlyvisible --name 'KVR 1.04' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    w=$WIDTH h=$HEIGHT
    if [ $((w * h)) -gt "$best_area" ]; then best=$id best_area=$((w * h)); fi
  done
  echo "$best"
}

# Answers whatever window is in front of the main window with Enter (its
# default button), until the main window is in front again.
answer_windows() {
  local main=$1 tries=0
  while [ "$(xdotool getactivewindow 2>/dev/null || true)" != "$main" ] && [ $tries -lt 8 ]; do
    xdotool key Return
    sleep 1.5
    tries=$((tries + 1))
  done
}

for screen in "${screens[@]}"; do
  size=${screen%@*}
  scale=1
  [ "$screen" != "$size" ] && scale=${screen#*@}
  home="$work/home-$screen"
  mkdir -p "$home/.config/Torvane"
  # A user who used COM1 with this chip and sample.hex last time.
  printf '[StartUp]\nLastCOMPort=1\nLastMCU=%s\nLastUsedFile1=%s\n' "$chip" "$work/sample.hex" \
    >"$home/.config/Torvane/KVR 1.04.ini"

  export DISPLAY
  DISPLAY=$(free_display)
  Xvfb "$DISPLAY" -screen 0 "${size}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  sleep 1
  HOME=$home XDG_CONFIG_HOME=$home/.config openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  sleep 1
  HOME=$home XDG_CONFIG_HOME=$home/.config QT_SCALE_FACTOR=$scale \
    ./build/kvr --sim "$chip" --no-splash >"$work/kvr.log" 2>&1 &
  pids+=($!)
  sleep 4

  main=$(main_window)
  [ -n "$main" ] || { echo "no main window on $screen" >&2; cat "$work/kvr.log" >&2; exit 1; }
  answer_windows "$main"
  # File > 1: the HEX file used last.
  xdotool windowactivate --sync "$main" key alt+f
  sleep 0.5
  xdotool key 1
  sleep 2
  answer_windows "$main"
  import -window root "$out/kvr-$screen-hex.png"

  # The toolbar's Signature Verification by its key.
  xdotool key F5
  sleep 4
  answer_windows "$main"
  sleep 1
  import -window root "$out/kvr-$screen-signature.png"
  echo "$out/kvr-$screen-hex.png $out/kvr-$screen-signature.png"
  stop_all
done
