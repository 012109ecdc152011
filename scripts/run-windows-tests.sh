#!/usr/bin/env bash
# The Windows leg: cross-compiles the Qt-free core, quastor-cli.exe and every Qt-free test with
# MinGW-w64 into build-windows/ and runs the tests under Wine, then packs quastor-cli.exe with
# the files installed with it into build-windows/quastor-cli-VERSION-windows-x64.zip and tries
# the packed program. Installs what it needs first. Extra arguments go to the configuring cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
root=$PWD
build=build-windows
lock=${QUASTOR_BUILD_LOCK:-/tmp/quastor-build.lock}

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

# Debian packages, skipped when installed (as scripts/install-deps.sh does).
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 dpkg-dev googletest)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "windows: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# pugixml's source, fetched once into .cache/ (Debian ships the library for Linux only).
# apt-get source needs a deb-src entry: one of our own, for this alone.
cache=$root/.cache/pugixml
pugixml_dir=$(find "$cache" -mindepth 2 -maxdepth 2 -name src -type d -printf '%h\n' 2>/dev/null |
  head -n1 || true)
if [ -z "$pugixml_dir" ] || [ ! -f "$pugixml_dir/src/pugixml.cpp" ]; then
  if ! apt-get source --print-uris -q pugixml >/dev/null 2>&1; then
    sources=/etc/apt/sources.list.d/quastor-deb-src.sources
    echo "windows: adding $sources for pugixml's source"
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: $codename" \
      "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
      "${sudo_cmd[@]}" tee "$sources" >/dev/null
    "${sudo_cmd[@]}" apt-get update -q
  fi
  rm -rf "$cache"
  mkdir -p "$cache"
  (cd "$cache" && apt-get source -q pugixml)
  pugixml_dir=$(find "$cache" -mindepth 2 -maxdepth 2 -name src -type d -printf '%h\n' | head -n1)
fi
echo "windows: pugixml from $pugixml_dir"
echo "windows: workbook import is not built on the Windows leg (no MinGW FreeXL or liborcus)"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DQUASTOR_BUILD_UI=OFF -DQUASTOR_WITH_WORKBOOK=OFF \
  -DQUASTOR_PUGIXML_SOURCE_DIR="$pugixml_dir" "$@"
flock "$lock" cmake --build "$build" -j2

# A fresh Wine prefix takes a while to make: make it before the tests, whose timeouts it
# would eat. WINEPREFIX is the one the toolchain gives the tests.
prefix=$(sed -n 's/^QUASTOR_WINEPREFIX:PATH=//p' "$build/CMakeCache.txt")
wine=$(sed -n 's/^QUASTOR_WINE64:FILEPATH=//p' "$build/CMakeCache.txt")
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=$prefix
if [ ! -f "$prefix/system.reg" ]; then
  echo "windows: making the Wine prefix $prefix"
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "${wine%/*}/wineserver" --wait || true
fi

status=0
# Wine now and then fails to start a program at all (the test then "fails" in milliseconds
# without output); a test gets a second run, and a real fault fails both.
(cd "$build" && ctest --output-on-failure -j2 --repeat until-pass:2) || status=$?

# The zip: CPack's ZIP generator over the install rules (dist/CMakeLists.txt), one folder with
# quastor-cli.exe, help2.dat, MASTER/ and README.txt. Its preinstall step may build: locked.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=quastor-cli-$version-windows-x64
rm -f "$build/$name.zip"
flock "$lock" cpack --config "$build/CPackConfig.cmake" -B "$root/$build" >"$build/cpack.log" 2>&1 ||
  { cat "$build/cpack.log"; echo "windows: packing the zip failed"; status=1; }
if [ -f "$build/$name.zip" ]; then
  # What it holds, and the packed program run from an unpacked copy: it tells its version and
  # fills a new application directory's MASTER from the files beside it.
  unpacked=$(mktemp -d)
  (cd "$unpacked" && cmake -E tar xf "$root/$build/$name.zip")
  listing=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
  wanted="$name/MASTER/sim4410.sim $name/MASTER/sx4375.sx $name/README.txt $name/help2.dat $name/quastor-cli.exe "
  if [ "$listing" != "$wanted" ]; then
    echo "windows: the zip holds: $listing"
    echo "windows: instead of:    $wanted"
    status=1
  fi
  packed_version=$(cd "$unpacked/$name" && "$wine" quastor-cli.exe --version | tr -d '\r' || true)
  (cd "$unpacked/$name" && "$wine" quastor-cli.exe --home home project new P >/dev/null 2>&1) || true
  if [ "$packed_version" != "quastor-cli $version" ] ||
    ! cmp -s "$unpacked/$name/MASTER/sx4375.sx" "$unpacked/$name/home/MASTER/sx4375.sx" ||
    [ ! -d "$unpacked/$name/home/PROJECTS/P/bin" ]; then
    echo "windows: the packed quastor-cli.exe does not work (version: '$packed_version')"
    status=1
  fi
  rm -rf "$unpacked"
  echo "windows: packed $build/$name.zip ($(du -k "$build/$name.zip" | cut -f1) KB)"
else
  echo "windows: no $build/$name.zip"
  status=1
fi
"${wine%/*}/wineserver" --kill >/dev/null 2>&1 || true
echo "windows: leg took $(($(date +%s) - started)) s"
exit "$status"
