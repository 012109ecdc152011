# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads) and runs the
# results under Wine: scripts/run-windows-tests.sh configures build-windows with this file.
#
# Executables are linked statically, so Wine needs no MinGW runtime DLLs beside them. Wine gets
# a prefix of its own inside the build folder, so every clean build starts from a clean prefix.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUASTOR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUASTOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUASTOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUASTOR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUASTOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Qt for Windows, static (scripts/build-qt-windows.sh builds it into .cache/): its prefix joins
# the roots that packages are found under; moc, rcc and uic are the build machine's own.
set(QUASTOR_QT_WINDOWS_PREFIX "" CACHE PATH "Qt for Windows (empty: no windows)")
if(QUASTOR_QT_WINDOWS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH "${QUASTOR_QT_WINDOWS_PREFIX}")
  list(APPEND CMAKE_PREFIX_PATH "${QUASTOR_QT_WINDOWS_PREFIX}")
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()

# Wine: Debian installs the loader outside PATH. No debug chatter, no offer to install Mono or
# Gecko into a fresh prefix (nothing here needs them).
set(QUASTOR_WINE64 /usr/lib/wine/wine64 CACHE FILEPATH "Wine's 64-bit loader")
if(NOT DEFINED QUASTOR_WINEPREFIX)
  set(QUASTOR_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix of the tests")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=${QUASTOR_WINEPREFIX}
    ${QUASTOR_WINE64})

# Drive under which Wine shows the host's root directory: build-time paths that a test
# program opens (the source tree's data, the built tools) get it in front.
set(QUASTOR_HOST_DRIVE "Z:" CACHE STRING "Drive letter of the host's / as the tests see it")
