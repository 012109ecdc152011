# CLI tests of the project check over the damaged and sound projects of tests/data/check.
quastor_cli_test(cli_check_tests CheckCliTest.cpp)
