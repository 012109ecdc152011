# CLI tests of the device description readers: eds and dbc.
quastor_cli_test(cli_devices_tests DevicesCliTest.cpp)
