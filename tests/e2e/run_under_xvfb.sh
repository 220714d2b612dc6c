#!/usr/bin/env bash
# Runs one end-to-end script under its own Xvfb server.
# Usage: run_under_xvfb.sh SCRIPT VELMOOR CLOSE_WINDOW SOURCE_DIR
set -euo pipefail
script="$1"
export VELMOOR="$2" CLOSE_WINDOW="$3" SOURCE_DIR="$4"

display=""
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
    display=":$n"
    break
  fi
done
[ -n "$display" ] || { echo "no free X display"; exit 1; }

# A script may ask for another screen with a line "# Xvfb screen: WIDTHxHEIGHTxDEPTH".
screen="$(sed -n 's/^# Xvfb screen: *\([0-9x]*\).*/\1/p' "$script" | head -n 1)"
Xvfb "$display" -screen 0 "${screen:-1024x768x24}" -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 1 50); do
  xdpyinfo > /dev/null 2>&1 && break
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
sleep 0.3
bash "$script"
