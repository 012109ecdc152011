#!/usr/bin/env bash
# Installs what is missing, builds everything (benchmarks included, so that they keep
# compiling) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DQUASTOR_BUILD_BENCH=ON
cd build
ctest --output-on-failure -j2
