#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configurator from build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo
  echo "No display here, so the configurator was built but not started."
  echo "Start it on a virtual display with:"
  echo "  xvfb-run -a -s '-screen 0 1280x800x24' build/bin/quastor"
  exit 0
fi
exec build/bin/quastor
