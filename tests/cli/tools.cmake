# CLI tests of the utilities: xml.
quastor_cli_test(cli_tools_tests ToolsCliTest.cpp)
