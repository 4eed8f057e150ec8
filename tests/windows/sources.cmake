list(APPEND VELO_GUI_TEST_SOURCES
  tests/windows/ball_window_test.cpp
  tests/windows/fixed_windows_test.cpp
  tests/windows/graph_window_test.cpp
  tests/windows/celestial_parameters_window_test.cpp
  tests/windows/celestial_time_window_test.cpp
  tests/windows/hbody_window_test.cpp
  tests/windows/number_field_test.cpp
  tests/windows/peg_window_test.cpp
  tests/windows/parameters_window_test.cpp
  tests/windows/air_window_test.cpp
  tests/windows/file_properties_window_test.cpp
  tests/windows/time_window_test.cpp
)
