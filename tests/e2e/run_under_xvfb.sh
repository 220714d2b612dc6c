#!/usr/bin/env bash
# Runs one end-to-end script under its own Xvfb server on a display that Xvfb picks free itself.
# Key auto-repeat is off (-r), so a held key sends one key-down, as a script that holds the eat
# key through a victory needs. A script may ask for another screen with a line
# "# Xvfb screen: WIDTHxHEIGHTxDEPTH".
# Usage: run_under_xvfb.sh SCRIPT VELMOOR CLOSE_WINDOW SOURCE_DIR
set -euo pipefail
script="$1"
export VELMOOR="$2" CLOSE_WINDOW="$3" SOURCE_DIR="$4"

screen="$(sed -n 's/^# Xvfb screen: *\([0-9x]*\).*/\1/p' "$script" | head -n 1)"
# Xvfb writes its display number once it accepts connections.
coproc XVFB { exec Xvfb -displayfd 1 -screen 0 "${screen:-1024x768x24}" -nolisten tcp -r 2> /dev/null; }
trap "kill $XVFB_PID 2>/dev/null || true" EXIT
read -r -t 20 number <&"${XVFB[0]}" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$number"
bash "$script"
