# CLI tests of the gateway commands: settings, image, gsd.
quastor_cli_test(cli_gateway_tests GatewayCliTest.cpp)
