# CLI tests of the CANopen table commands: import, export.
quastor_cli_test(cli_canopen_tests CanopenCliTest.cpp)
