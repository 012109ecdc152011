# Libraries that Debian ships for Linux only, built from source when cross-compiling for
# Windows: pugixml from its unpacked source (QUASTOR_PUGIXML_SOURCE_DIR, fetched by
# scripts/run-windows-tests.sh) and GoogleTest from Debian's googletest package.

set(QUASTOR_PUGIXML_SOURCE_DIR "" CACHE PATH "Unpacked pugixml source (holds src/pugixml.cpp)")
set(QUASTOR_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source")

# pugixml::pugixml as a small static library; its own build would add targets we do not need.
function(quastor_pugixml_from_source)
  set(source "${QUASTOR_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
  if(NOT EXISTS "${source}")
    message(FATAL_ERROR "pugixml source not found: set QUASTOR_PUGIXML_SOURCE_DIR to the folder "
                        "that holds src/pugixml.cpp (scripts/run-windows-tests.sh fetches it)")
  endif()
  add_library(quastor_pugixml STATIC "${source}")
  target_include_directories(quastor_pugixml SYSTEM PUBLIC "${QUASTOR_PUGIXML_SOURCE_DIR}/src")
  target_compile_options(quastor_pugixml PRIVATE -w)
  add_library(pugixml::pugixml ALIAS quastor_pugixml)
endfunction()

# GTest::gtest and GTest::gtest_main, as find_package(GTest) names them.
function(quastor_googletest_from_source)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory("${QUASTOR_GOOGLETEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest"
                   EXCLUDE_FROM_ALL SYSTEM)
  foreach(name gtest gtest_main)
    if(NOT TARGET GTest::${name})
      add_library(GTest::${name} ALIAS ${name})
    endif()
  endforeach()
endfunction()
