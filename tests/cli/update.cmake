# quastor-cli firmware, end to end, with a stand-in for the flash programmer.
add_executable(cli_stand_in_programmer StandInProgrammer.cpp)
target_link_libraries(cli_stand_in_programmer PRIVATE quastor_platform_core)

quastor_cli_test(cli_update_tests UpdateCliTest.cpp)
target_compile_definitions(cli_update_tests PRIVATE
  QUASTOR_STAND_IN_PROGRAMMER="${QUASTOR_TEST_HOST_DRIVE}$<TARGET_FILE:cli_stand_in_programmer>")
add_dependencies(cli_update_tests cli_stand_in_programmer)
