list(APPEND VELO_CORE_TEST_SOURCES
  tests/persist/lifecycle_temp_folders_test.cpp
  tests/persist/lifecycle_commands_test.cpp
  tests/persist/start_point_test.cpp
  tests/persist/cli_test.cpp
  tests/persist/examples_test.cpp
  examples/example_scenes.cpp
)
