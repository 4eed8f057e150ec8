list(APPEND VELO_GUI_TEST_SOURCES
  tests/windows/fixed_windows_test.cpp
  tests/windows/number_field_test.cpp
)
