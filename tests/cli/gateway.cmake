# CLI tests of the gateway commands: settings, image, gsd.
quastor_cli_test(cli_gateway_tests GatewayCliTest.cpp)
# A FIFO in place of pargen.xml: the test fails rather than hangs should the fault come back,
# and the timeout ends it should even that fail.
quastor_cli_test(cli_reading_tests ReadingCliTest.cpp TIMEOUT 60)
