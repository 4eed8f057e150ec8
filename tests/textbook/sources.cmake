# The textbook validation suite: one table of classic experiments, checked
# by the core tests and printed by textbook_table for the README.
list(APPEND VELO_CORE_TEST_SOURCES
  tests/textbook/textbook_experiments.cpp
  tests/textbook/textbook_test.cpp
)

add_executable(textbook_table
  tests/textbook/textbook_table_main.cpp tests/textbook/textbook_experiments.cpp examples/example_scenes.cpp)
target_include_directories(textbook_table PRIVATE tests)
target_link_libraries(textbook_table PRIVATE velo_core)
add_test(NAME TextbookTableInReadme COMMAND textbook_table --check ${VELO_TEST_SOURCE_DIR}/README.md)
set_tests_properties(TextbookTableInReadme PROPERTIES TIMEOUT 300)
