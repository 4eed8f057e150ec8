list(APPEND VELO_CORE_TEST_SOURCES
  tests/editing/hit_test_test.cpp
  tests/editing/optimize_group_test.cpp
  tests/editing/celestial_edits_test.cpp
  tests/editing/editing_commands_test.cpp
  tests/editing/world_change_test.cpp
)
