#!/usr/bin/env bash
# Start-up of quastor.exe under Wine until its main window is mapped, beside a bare Qt window
# built the same way (static Qt for Windows, bench/startup/BareWindow.cpp); median of RUNS runs
# (10 unless given) under Xvfb, timed by the Linux build's startup_timer. Wine's server is kept
# running across the runs, as Windows itself is. Needs build/bench/startup_timer
# (scripts/build.sh -DQUASTOR_BUILD_BENCH=ON) and the Windows leg's build-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
timer=build/bench/startup_timer
wine=$(sed -n 's/^QUASTOR_WINE64:FILEPATH=//p' build-windows/CMakeCache.txt)
for file in "$timer" build-windows/bin/quastor.exe build-windows/bench/bare_window.exe \
  build-windows/bench/text_window.exe; do
  if [ ! -x "$file" ] && [ ! -f "$file" ]; then
    echo "bench-startup-windows: $file is missing" >&2
    exit 1
  fi
done
home=$(mktemp -d)
trap 'WINEPREFIX=$home/prefix "${wine%/*}/wineserver" --kill >/dev/null 2>&1 || true; rm -rf "$home"' EXIT
export QUASTOR_HOME=$home/app WINEPREFIX=$home/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
"$wine" wineboot --init >/dev/null 2>&1 || true
"${wine%/*}/wineserver" --wait || true
xvfb-run -a -s '-screen 0 1280x800x24' bash -c "
  '${wine%/*}/wineserver' --persistent
  '$wine' cmd /c exit >/dev/null 2>&1 || true
  read -r bare_median bare_min bare_max < <($timer $runs '$wine' build-windows/bench/bare_window.exe)
  read -r text_median text_min text_max < <($timer $runs '$wine' build-windows/bench/text_window.exe)
  read -r app_median app_min app_max < <($timer $runs '$wine' build-windows/bin/quastor.exe)
  echo \"bare Qt window under Wine:  median \$bare_median ms (min \$bare_min, max \$bare_max)\"
  echo \"Qt window with the main window's texts under Wine:  median \$text_median ms (min \$text_min, max \$text_max)\"
  echo \"quastor.exe under Wine:     median \$app_median ms (min \$app_min, max \$app_max)\"
  awk -v a=\$app_median -v b=\$bare_median 'BEGIN { printf \"ratio:                      %.2f\\n\", a / b }'
  '${wine%/*}/wineserver' --kill
"
