list(APPEND VELO_CORE_TEST_SOURCES
  tests/model/materials_editing_test.cpp
  tests/model/parameters_apply_test.cpp
  tests/model/parse_number_test.cpp
  tests/model/unit_labels_test.cpp
  tests/model/world_ops_test.cpp
  tests/model/world_tables_test.cpp
)
