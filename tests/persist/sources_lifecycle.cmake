list(APPEND VELO_CORE_TEST_SOURCES
  tests/persist/lifecycle_temp_folders_test.cpp
)
