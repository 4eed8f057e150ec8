list(APPEND VELO_GUI_TEST_SOURCES
  tests/windows/ball_window_test.cpp
  tests/windows/number_field_test.cpp
  tests/windows/peg_window_test.cpp
  tests/windows/parameters_window_test.cpp
)
