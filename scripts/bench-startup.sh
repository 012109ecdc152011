#!/usr/bin/env bash
# Start-up of the configurator until its main window is mapped, beside two bare Qt Widgets
# programs that show one 565 x 210 window: an empty one, and one that lays out the main
# window's texts (a bold title and four captioned buttons); median of RUNS runs (30 unless
# given) under Xvfb.
# Build first with the benchmarks: scripts/build.sh -DQUASTOR_BUILD_BENCH=ON
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export QUASTOR_HOME=$home
timer=build/bench/startup_timer
xvfb-run -a -s '-screen 0 1280x800x24' bash -c "
  read -r bare_median bare_min bare_max < <($timer $runs build/bench/bare_window)
  read -r text_median text_min text_max < <($timer $runs build/bench/text_window)
  read -r app_median app_min app_max < <($timer $runs build/bin/quastor)
  echo \"bare Qt window:  median \$bare_median ms (min \$bare_min, max \$bare_max)\"
  echo \"Qt window with the main window's texts:  median \$text_median ms (min \$text_min, max \$text_max)\"
  echo \"quastor:         median \$app_median ms (min \$app_min, max \$app_max)\"
  awk -v a=\$app_median -v b=\$bare_median 'BEGIN { printf \"ratio to the bare window:  %.2f (goal: at most 1.30)\\n\", a / b }'
  awk -v a=\$app_median -v b=\$text_median 'BEGIN { printf \"ratio to the text window:  %.2f (goal: at most 1.15)\\n\", a / b }'
"
