#!/usr/bin/env bash
# Builds Qt for 64-bit Windows once: Debian's own qt6-base source (the version of the host's Qt
# tools, which the cross build uses for moc, rcc and uic), cross-compiled with MinGW-w64 (POSIX
# threads) as static libraries, with only the modules and plugins the application needs (Core,
# Gui, Widgets, Test; the windows, offscreen and Windows-style plugins). It installs into
# .cache/qt-windows-VERSION-KEY/, KEY being a hash of the options below, and prints that folder
# on its last line; a later run with the same version and options finds it there and builds
# nothing.
#
# Environment:
#   QUASTOR_BUILD_LOCK      lock file every build step is run under (/tmp/quastor-build.lock)
#   QUASTOR_QT_BUILD_SLICE  seconds: build in slices this long under the lock, with a pause
#                           between, so that other builds sharing the machine get their turn
#                           (unset: one go)
#   QUASTOR_QT_KEEP_BUILD   1: keep the build tree after installing (it is removed otherwise)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
lock=${QUASTOR_BUILD_LOCK:-/tmp/quastor-build.lock}
slice=${QUASTOR_QT_BUILD_SLICE:-}
started=$(date +%s)
say() { echo "qt-windows: $*" >&2; }

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
packages=(cmake ninja-build perl g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools
  dpkg-dev)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q >&2
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi

# The source package of the host's tools: moc and rcc of another version would not match.
source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
upstream=${source_version%%+*}
upstream=${upstream%%-*}

triple=x86_64-w64-mingw32
# -O1 everywhere (Qt would build Core and Gui at -O3 and the rest at -O2): a fresh build takes
# a good part of CI's time, and the application's tables are small.
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DQT_USE_DEFAULT_CMAKE_OPTIMIZATION_FLAGS=ON
  "-DCMAKE_C_FLAGS_RELEASE=-O1 -DNDEBUG"
  "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
  -DBUILD_SHARED_LIBS=OFF
  -DCMAKE_SYSTEM_NAME=Windows
  -DCMAKE_SYSTEM_PROCESSOR=x86_64
  -DCMAKE_C_COMPILER=$triple-gcc-posix
  -DCMAKE_CXX_COMPILER=$triple-g++-posix
  -DCMAKE_RC_COMPILER=$triple-windres
  -DCMAKE_FIND_ROOT_PATH=/usr/$triple
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF
  # Modules the application does not use.
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  # Image formats beyond the built-in PNG, BMP and XPM; the Direct2D platform plugin and the
  # DirectWrite 3 font database (only built with Direct2D, but asked for by the windows
  # plugin: off together); Vulkan.
  -DFEATURE_imageformatplugin=OFF
  -DFEATURE_jpeg=OFF
  -DFEATURE_gif=OFF
  -DFEATURE_ico=OFF
  -DFEATURE_direct2d=OFF
  -DFEATURE_directwrite3=OFF
  -DFEATURE_vulkan=OFF
  # Text: Markdown, ODF export, PDF, syntax highlighting; the tablet support, whose header
  # Debian's source lacks.
  -DFEATURE_textmarkdownreader=OFF
  -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_textodfwriter=OFF
  -DFEATURE_pdf=OFF
  -DFEATURE_syntaxhighlighter=OFF
  -DFEATURE_tabletevent=OFF
  # Widgets, dialogs and services no window of the application uses.
  -DFEATURE_graphicsview=OFF
  -DFEATURE_mdiarea=OFF
  -DFEATURE_dockwidget=OFF
  -DFEATURE_calendarwidget=OFF
  -DFEATURE_datetimeedit=OFF
  -DFEATURE_dial=OFF
  -DFEATURE_lcdnumber=OFF
  -DFEATURE_keysequenceedit=OFF
  -DFEATURE_fontcombobox=OFF
  -DFEATURE_splashscreen=OFF
  -DFEATURE_toolbox=OFF
  -DFEATURE_commandlinkbutton=OFF
  -DFEATURE_columnview=OFF
  -DFEATURE_datawidgetmapper=OFF
  -DFEATURE_scroller=OFF
  -DFEATURE_colordialog=OFF
  -DFEATURE_fontdialog=OFF
  -DFEATURE_inputdialog=OFF
  -DFEATURE_errormessage=OFF
  -DFEATURE_wizard=OFF
  -DFEATURE_undoview=OFF
  -DFEATURE_undogroup=OFF
  -DFEATURE_undostack=OFF
  -DFEATURE_undocommand=OFF
  -DFEATURE_movie=OFF
  -DFEATURE_picture=OFF
  -DFEATURE_systemtrayicon=OFF
  -DFEATURE_sessionmanager=OFF
  # Bundled third-party code: nothing of the build machine's (Linux) libraries.
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_zstd=OFF
  -DFEATURE_icu=OFF
)
key=$(printf '%s\n' "$source_version" "${options[@]}" | sha256sum | cut -c1-12)
prefix=$root/.cache/qt-windows-$upstream-$key
if [ -f "$prefix/.complete" ]; then
  say "Qt $upstream for Windows found in $prefix"
  echo "$prefix"
  exit 0
fi

# The source, unpacked once with Debian's patches applied. apt-get source needs a deb-src
# entry: one of our own, for this alone (scripts/run-windows-tests.sh adds the same).
source_parent=$root/.cache/qt6-base-source
source_dir=$source_parent/qt6-base-${source_version%-*}
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
  if ! apt-get source --print-uris -q "qt6-base=$source_version" >/dev/null 2>&1; then
    sources=/etc/apt/sources.list.d/quastor-deb-src.sources
    say "adding $sources for Qt's source"
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: $codename" \
      "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
      "${sudo_cmd[@]}" tee "$sources" >/dev/null
    "${sudo_cmd[@]}" apt-get update -q >&2
  fi
  rm -rf "$source_parent"
  mkdir -p "$source_parent"
  (cd "$source_parent" && apt-get source -q "qt6-base=$source_version" >&2)
fi

# Debian's 6.4 source: the Windows style includes the input dialog's header without asking
# whether the dialog is built (the other dialogs' headers are asked for).
vista=$source_dir/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h
if ! grep -q 'QT_CONFIG(inputdialog)' "$vista"; then
  sed -i 's|^#include <qinputdialog.h>$|#if QT_CONFIG(inputdialog)\n#include <qinputdialog.h>\n#endif|' "$vista"
fi

build=$root/.cache/qt-windows-build-$key
if [ ! -f "$build/build.ninja" ]; then
  say "configuring Qt $upstream for Windows in $build"
  rm -rf "$build"
  flock "$lock" cmake -S "$source_dir" -B "$build" -G Ninja \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$root/.cache/qt-windows-configure.log" 2>&1 ||
    { tail -n 40 "$root/.cache/qt-windows-configure.log" >&2; say "configuring failed"; exit 1; }
fi

say "building Qt $upstream for Windows (log: $build/build.log)"
if [ -n "$slice" ]; then
  until flock "$lock" timeout "$slice" nice -n 10 cmake --build "$build" -j2 >>"$build/build.log" 2>&1; do
    status=$?
    if [ "$status" -ne 124 ]; then
      tail -n 40 "$build/build.log" >&2
      say "building failed"
      exit 1
    fi
    say "$(grep -o '^\[[0-9]*/[0-9]*\]' "$build/build.log" | tail -n1) after $(($(date +%s) - started)) s"
    sleep 20
  done
else
  flock "$lock" cmake --build "$build" -j"$(nproc)" >>"$build/build.log" 2>&1 ||
    { tail -n 40 "$build/build.log" >&2; say "building failed"; exit 1; }
fi
rm -rf "$prefix"
cmake --install "$build" >"$build/install.log" 2>&1 ||
  { tail -n 40 "$build/install.log" >&2; say "installing failed"; exit 1; }
touch "$prefix/.complete"
if [ "${QUASTOR_QT_KEEP_BUILD:-0}" != 1 ]; then
  rm -rf "$build"
fi
say "Qt $upstream for Windows built into $prefix in $(($(date +%s) - started)) s"
echo "$prefix"
