list(APPEND VELO_CORE_TEST_SOURCES
  tests/project/cyrillic_paths_test.cpp
  tests/project/lifecycle_commands_test.cpp
  tests/project/lifecycle_temp_folders_test.cpp
  tests/project/start_point_test.cpp
)
