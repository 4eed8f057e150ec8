list(APPEND VELO_CORE_TEST_SOURCES
  tests/persist/examples_test.cpp
  tests/persist/file_paths_test.cpp
  tests/persist/language_file_test.cpp
  tests/persist/qvs_damage_test.cpp
  tests/persist/qvs_format_test.cpp
)
