#!/usr/bin/env bash
# Starts quastor.exe under Wine on the X display (run it under xvfb-run) from the folder DIR,
# waits until its main window is mapped, closes it as Windows closes a program (taskkill
# without /f sends WM_CLOSE) and fails unless the window mapped within 120 s (the first start
# in a new Wine prefix sets up its fonts first) and the program ended by itself with exit
# status 0. scripts/run-windows-tests.sh runs it on the unpacked zip.
#
#   scripts/windows-window-check.sh WINE DIR
set -euo pipefail
wine=$1
dir=$2
caption="Vexlar Quastor_SW4410_DNET2PROFI"

(cd "$dir" && exec "$wine" quastor.exe) &
program=$!
mapped=0
for _ in $(seq 1 600); do
  if xwininfo -name "$caption" 2>/dev/null | grep -q "Map State: IsViewable"; then
    mapped=1
    break
  fi
  if ! kill -0 "$program" 2>/dev/null; then
    break
  fi
  sleep 0.2
done
if [ "$mapped" -ne 1 ]; then
  echo "window-check: no main window \"$caption\" mapped"
  kill "$program" 2>/dev/null || true
  wait "$program" || true
  exit 1
fi
size=$(xwininfo -name "$caption" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
echo "window-check: main window mapped ($size)"
"$wine" taskkill /im quastor.exe >/dev/null 2>&1 || true
for _ in $(seq 1 150); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program" 2>/dev/null; then
  echo "window-check: quastor.exe still running after WM_CLOSE"
  kill "$program" 2>/dev/null || true
  wait "$program" || true
  exit 1
fi
if wait "$program"; then
  echo "window-check: closed, exit status 0"
else
  echo "window-check: quastor.exe ended with status $?"
  exit 1
fi
