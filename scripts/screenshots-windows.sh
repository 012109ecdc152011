#!/usr/bin/env bash
# The README's pictures of the Windows build: quastor-screenshots.exe of the Windows leg
# (build-windows/, scripts/run-windows-tests.sh) runs under Wine on the Windows platform of a
# virtual display and draws every window as Windows shows it; the main window, its menu of
# windows and the SDO access editor become docs/screenshots/windows-*.png. Prints each
# picture's size beside that of the Linux picture, which it should match.
set -euo pipefail
cd "$(dirname "$0")/.."
lock=${QUASTOR_BUILD_LOCK:-/tmp/quastor-build.lock}
build=build-windows
out=docs/screenshots
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "screenshots-windows: no $build; run scripts/run-windows-tests.sh first" >&2
  exit 1
fi
flock "$lock" cmake --build "$build" --target quastor-screenshots -j2
wine=$(sed -n 's/^QUASTOR_WINE64:FILEPATH=//p' "$build/CMakeCache.txt")
prefix=$(sed -n 's/^QUASTOR_WINEPREFIX:PATH=//p' "$build/CMakeCache.txt")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_STYLE_OVERRIDE \
  xvfb-run -a -s '-screen 0 1280x800x24' \
  "$wine" "$build/desktop/quastor-screenshots.exe" "Z:$pictures"
"${wine%/*}/wineserver" --kill >/dev/null 2>&1 || true
mkdir -p "$out"
for name in main-window windows-menu sdo-access; do
  cp "$pictures/$name.png" "$out/windows-$name.png"
  echo "screenshots-windows: $out/windows-$name.png $(identify -format '%wx%h' "$out/windows-$name.png")" \
    "(Linux: $(identify -format '%wx%h' "$out/$name.png" 2>/dev/null || echo none))"
done
