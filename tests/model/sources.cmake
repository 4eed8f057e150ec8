list(APPEND VELO_CORE_TEST_SOURCES
  tests/model/portable_math_test.cpp
  tests/model/world_ops_test.cpp
  tests/model/world_tables_test.cpp
)
