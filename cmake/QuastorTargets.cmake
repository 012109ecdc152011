# quastor_core_library(NAME SOURCES... [DEPS ...]): a Qt-free static library that joins "core".
function(quastor_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
  target_link_libraries(core INTERFACE ${name})
endfunction()

# quastor_ui_library(NAME SOURCES... [DEPS ...]): a static library of Qt windows.
function(quastor_ui_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Widgets ${ARG_DEPS})
endfunction()

# quastor_qt_plugins(TARGET [OFFSCREEN_ONLY]): with a static Qt (the Windows build), the
# plugins a program that shows windows links in: the Windows platform and its style, and the
# offscreen platform (for the screenshots and `-platform offscreen`); OFFSCREEN_ONLY, for the
# window tests, links the offscreen platform alone. A shared Qt loads them at run time.
function(quastor_qt_plugins target)
  cmake_parse_arguments(ARG "OFFSCREEN_ONLY" "" "" ${ARGN})
  if(NOT TARGET Qt6::QWindowsIntegrationPlugin)
    return()
  endif()
  get_target_property(qt_type Qt6::Core TYPE)
  if(NOT qt_type STREQUAL "STATIC_LIBRARY")
    return()
  endif()
  if(ARG_OFFSCREEN_ONLY)
    qt_import_plugins(${target} INCLUDE_BY_TYPE platforms Qt6::QOffscreenIntegrationPlugin
                      EXCLUDE_BY_TYPE styles)
  else()
    qt_import_plugins(${target} INCLUDE Qt6::QWindowsIntegrationPlugin
                      Qt6::QOffscreenIntegrationPlugin Qt6::QWindowsVistaStylePlugin)
  endif()
endfunction()

# quastor_gtest(NAME SOURCES... [DEPS ...] [QT]): a GoogleTest executable registered with ctest.
# QT tests run with the offscreen platform and get a QApplication from their main.
function(quastor_gtest name)
  cmake_parse_arguments(ARG "QT" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set(environment "QT_QPA_PLATFORM=offscreen")
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE quastor_test_support_qt GTest::gtest Qt6::Test ${ARG_DEPS})
    quastor_qt_plugins(${name} OFFSCREEN_ONLY)
    if(WIN32 AND QUASTOR_TEST_FONT_DIR)
      # Qt's offscreen platform on Windows reads fonts from a folder, not from the system.
      list(APPEND environment "QT_QPA_FONTDIR=${QUASTOR_TEST_FONT_DIR}")
    endif()
  else()
    target_link_libraries(${name} PRIVATE quastor_test_support GTest::gtest GTest::gtest_main ${ARG_DEPS})
  endif()
  # Listing the tests starts the executable; under Wine on a busy machine that alone can take
  # longer than the default 5 s.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${ARG_TIMEOUT}
               ENVIRONMENT "${environment}")
endfunction()
