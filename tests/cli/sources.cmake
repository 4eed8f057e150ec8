list(APPEND VELO_CORE_TEST_SOURCES
  tests/cli/cli_test.cpp
)
