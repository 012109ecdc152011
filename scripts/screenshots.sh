#!/usr/bin/env bash
# Refreshes the README's pictures: builds quastor-screenshots into build/ and runs it on a
# virtual display (xvfb-run), which writes one PNG per window into docs/screenshots/ over a
# sample project and the files installed with the application. Installs what is missing first.
# The build takes the shared build lock (QUASTOR_BUILD_LOCK, default /tmp/quastor-build.lock).
set -euo pipefail
cd "$(dirname "$0")/.."
lock=${QUASTOR_BUILD_LOCK:-/tmp/quastor-build.lock}
out=docs/screenshots

scripts/install-deps.sh
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
flock "$lock" cmake --build build --target quastor-screenshots -j2

# The Windows build's pictures (scripts/screenshots-windows.sh) and the open-project picture,
# taken by hand over a folder of projects, stay.
find "$out" -name "*.png" ! -name windows-main-window.png ! -name windows-windows-menu.png \
  ! -name windows-sdo-access.png ! -name open-project.png -delete 2>/dev/null || true
mkdir -p "$out"
# A fixed screen and no user settings, so that the pictures change only with the windows.
env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_STYLE_OVERRIDE \
  xvfb-run -a -s '-screen 0 1280x800x24' build/desktop/quastor-screenshots "$out"
echo "screenshots: $(ls "$out" | wc -l) pictures in $out"
