# CLI tests of what differs between Windows and the rest: path notations, settings files
# written by Windows, CR LF in the files written.
quastor_cli_test(cli_systems_tests SystemsCliTest.cpp)
