list(APPEND VELO_GUI_TEST_SOURCES
  tests/windows/number_field_test.cpp
  tests/windows/parameters_window_test.cpp
)
