#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the configurator need.
# python3-canmatrix is the other DBC reader that the DBC test compares with; it runs under the
# system's /usr/bin/python3.
# Idempotent: packages already installed are skipped, and apt is not touched when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libpugixml-dev
  libfreexl-dev liborcus-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core libx11-dev
  srecord libxml2-utils strace
  dpkg-dev desktop-file-utils
  python3-canmatrix
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages are installed"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
