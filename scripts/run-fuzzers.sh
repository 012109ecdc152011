#!/usr/bin/env bash
# Builds the libFuzzer targets with clang-14 into build-fuzz/ and runs every one for a bounded
# time (SECONDS each, 20 unless given) on a copy of its seeds in fuzz/corpus/<name>, so that
# the tree stays as it is. Prints the executions of each target; any crash, leak, hang or
# broken property fails the run, and its input is kept in build-fuzz/artifacts/.
#
#   scripts/run-fuzzers.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
seconds=${1:-20}
root=$PWD
build=build-fuzz
lock=${QUASTOR_BUILD_LOCK:-/tmp/quastor-build.lock}

scripts/install-deps.sh
# clang-14 and its runtime (libFuzzer and the sanitizers), skipped when installed.
packages=(clang-14 libclang-rt-14-dev)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  echo "fuzz: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUASTOR_BUILD_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++-14 -DQUASTOR_BUILD_UI=OFF -DQUASTOR_BUILD_TESTS=OFF
flock "$lock" cmake --build "$build" -j2

# The targets write their inputs to files, and the writers flush every save to the disk: in
# memory (tmpfs) a second holds many times the executions.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
# Leaks of libraries that the program only runs in a child process (fuzz/lsan.supp).
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp:print_suppressions=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=$root/$build/artifacts
mkdir -p "$artifacts"
failed=()
results=()
# One target: its corpus seeded from fuzz/corpus, its exit status into its folder.
run_one() {
  local name=$1 fuzzer=$2 status=0
  mkdir -p "$work/$name/corpus"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -R "fuzz/corpus/$name/." "$work/$name/corpus/"
  fi
  (cd "$work/$name" &&
    "$root/$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$artifacts/$name-" corpus >"$work/$name/log" 2>&1) || status=$?
  echo "$status" >"$work/$name/status"
}
# Two targets at a time, one a core.
running=0
for fuzzer in "$build"/fuzz/*_fuzzer; do
  run_one "$(basename "$fuzzer" _fuzzer)" "$fuzzer" &
  running=$((running + 1))
  if [ "$running" -eq 2 ]; then
    wait
    running=0
  fi
done
wait
for fuzzer in "$build"/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer" _fuzzer)
  log=$work/$name/log
  status=$(cat "$work/$name/status" 2>/dev/null || echo 1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  if [ "$status" -eq 0 ]; then
    results+=("$(printf '%-16s %12s  ok' "$name" "${runs:-?}")")
  else
    failed+=("$name")
    results+=("$(printf '%-16s %12s  FAILED (exit %d)' "$name" "${runs:-?}" "$status")")
    echo "fuzz: $name failed; the end of its log:"
    tail -n 40 "$log"
  fi
done

echo "fuzz: target           executions  result"
for line in "${results[@]}"; do
  echo "fuzz: $line"
done
echo "fuzz: ${#results[@]} targets, $seconds s each, took $(($(date +%s) - started)) s"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]} (inputs in $artifacts)"
  exit 1
fi
