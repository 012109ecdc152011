#!/usr/bin/env bash
# The Windows leg: cross-compiles the whole application (quastor.exe, quastor-cli.exe) and every
# test with MinGW-w64 and a static Qt for Windows (scripts/build-qt-windows.sh, built once into
# .cache/) into build-windows/ and runs the tests under Wine, the window tests on Qt's offscreen
# platform. It then packs build-windows/quastor-VERSION-windows-x64.zip and tries the packed
# programs in a fresh Wine prefix: the versions, the main window shown on Xvfb and closed, and
# an installed copy keeping its data under %LOCALAPPDATA%\quastor. Installs what it needs
# first. Extra arguments go to the configuring cmake.
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
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 dpkg-dev googletest xvfb xauth
  x11-utils fonts-dejavu-core)
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

# Qt for Windows: built once, then taken from .cache/.
qt_prefix=$(scripts/build-qt-windows.sh | tail -n1)

# Release: without debugging information the static programs link much faster.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DQUASTOR_QT_WINDOWS_PREFIX="$qt_prefix" -DQUASTOR_WITH_WORKBOOK=OFF \
  -DQUASTOR_PUGIXML_SOURCE_DIR="$pugixml_dir" "$@"
built=$(date +%s)
flock "$lock" cmake --build "$build" -j2
echo "windows: building took $(($(date +%s) - built)) s"

# A fresh Wine prefix takes a while to make: make it before the tests, whose timeouts it
# would eat. WINEPREFIX is the one the toolchain gives the tests.
prefix=$(sed -n 's/^QUASTOR_WINEPREFIX:PATH=//p' "$build/CMakeCache.txt")
wine=$(sed -n 's/^QUASTOR_WINE64:FILEPATH=//p' "$build/CMakeCache.txt")
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=$prefix
wineserver=${wine%/*}/wineserver
if [ ! -f "$prefix/system.reg" ]; then
  echo "windows: making the Wine prefix $prefix"
  "$wine" wineboot --init >/dev/null 2>&1 || true
  # COM9 is a pseudo-terminal for the serial port's tests: each opening of /dev/ptmx is a new
  # terminal, which takes the line settings but has no modem lines. Wine reads its port map
  # when it starts.
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM9 /t REG_SZ /d /dev/ptmx /f >/dev/null 2>&1
  "$wineserver" --kill || true
  "$wineserver" --wait || true
fi

status=0
# Wine now and then fails to start a program at all (the test then "fails" in milliseconds
# without output) or to end one whose test has passed (it then times out); a test gets a
# second run, and a real fault fails both.
(cd "$build" && flock "$lock" ctest --output-on-failure -j2 --repeat until-pass:2) || status=$?

# The zip: CPack's ZIP generator over the install rules (dist/CMakeLists.txt), one folder with
# quastor.exe, quastor-cli.exe, help2.dat, MASTER/ and README.txt. Its preinstall step may
# build: locked.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=quastor-$version-windows-x64
rm -f "$build/$name.zip"
flock "$lock" cpack --config "$build/CPackConfig.cmake" -B "$root/$build" >"$build/cpack.log" 2>&1 ||
  { cat "$build/cpack.log"; echo "windows: packing the zip failed"; status=1; }
if [ -f "$build/$name.zip" ]; then
  # What it holds (no DLL beside the programs), and the packed programs run from an unpacked
  # copy in a Wine prefix of their own, as on a Windows machine that never saw them.
  unpacked=$(mktemp -d)
  (cd "$unpacked" && cmake -E tar xf "$root/$build/$name.zip")
  listing=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
  wanted="$name/MASTER/sim4410.sim $name/MASTER/sx4375.sx $name/README.txt $name/help2.dat $name/quastor-cli.exe $name/quastor.exe "
  if [ "$listing" != "$wanted" ]; then
    echo "windows: the zip holds: $listing"
    echo "windows: instead of:    $wanted"
    status=1
  fi
  export WINEPREFIX=$unpacked/wineprefix
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "$wineserver" --wait || true
  dir=$unpacked/$name
  packed_version=$(cd "$dir" && "$wine" quastor.exe --version | tr -d '\r' || true)
  packed_cli_version=$(cd "$dir" && "$wine" quastor-cli.exe --version | tr -d '\r' || true)
  (cd "$dir" && "$wine" quastor-cli.exe --home home project new P >/dev/null 2>&1) || true
  if [ "$packed_version" != "quastor $version" ] || [ "$packed_cli_version" != "quastor-cli $version" ] ||
    ! cmp -s "$dir/MASTER/sx4375.sx" "$dir/home/MASTER/sx4375.sx" ||
    [ ! -d "$dir/home/PROJECTS/P/bin" ]; then
    echo "windows: the packed programs do not work (versions: '$packed_version', '$packed_cli_version')"
    status=1
  fi
  # The application on the Windows platform of a virtual display: its main window must map,
  # and it must end without fault when closed as Windows closes a program (WM_CLOSE).
  # A second try, as for the tests: Wine now and then fails to start a program.
  # Before each try every Wine process of the prefix ends: what the command-line runs above
  # leave running (seen with Wine 8) keeps the first window of the prefix from mapping.
  "$wineserver" -k || true
  if ! xvfb-run -a -s '-screen 0 1280x800x24' scripts/windows-window-check.sh "$wine" "$dir"; then
    "$wineserver" -k || true
    if ! xvfb-run -a -s '-screen 0 1280x800x24' scripts/windows-window-check.sh "$wine" "$dir"; then
      echo "windows: the packed quastor.exe showed no main window, or did not close"
      status=1
    fi
  fi
  # An installed copy (bin\\ beside share\\quastor\\, as an installer lays it out) keeps the
  # user's data in %LOCALAPPDATA%\\quastor, not beside the program.
  installed=$unpacked/installed
  mkdir -p "$installed/bin" "$installed/share/quastor"
  cp "$dir/quastor-cli.exe" "$installed/bin/"
  cp -r "$dir/help2.dat" "$dir/MASTER" "$installed/share/quastor/"
  local_app_data=$("$wine" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
  local_app_data_unix=$("$wine" winepath -u "$local_app_data" 2>/dev/null | tr -d '\r' || true)
  (cd "$installed/bin" && "$wine" quastor-cli.exe project new Installed >/dev/null 2>&1) || true
  if [ -z "$local_app_data_unix" ] || [ ! -d "$local_app_data_unix/quastor/PROJECTS/Installed/bin" ] ||
    [ ! -f "$local_app_data_unix/quastor/MASTER/sim4410.sim" ] || [ -e "$installed/bin/PROJECTS" ]; then
    echo "windows: the installed copy did not keep its data in %LOCALAPPDATA%\\quastor ($local_app_data)"
    status=1
  fi
  "$wineserver" --kill >/dev/null 2>&1 || true
  rm -rf "$unpacked"
  export WINEPREFIX=$prefix
  echo "windows: packed $build/$name.zip ($(du -k "$build/$name.zip" | cut -f1) KB)"
else
  echo "windows: no $build/$name.zip"
  status=1
fi
"$wineserver" --kill >/dev/null 2>&1 || true
echo "windows: leg took $(($(date +%s) - started)) s"
exit "$status"
