# quastor-cli firmware, end to end.
quastor_cli_test(cli_update_tests UpdateCliTest.cpp)
