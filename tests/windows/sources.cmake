list(APPEND VELO_GUI_TEST_SOURCES
  tests/windows/celestial_parameters_window_test.cpp
  tests/windows/celestial_time_window_test.cpp
  tests/windows/hbody_window_test.cpp
  tests/windows/number_field_test.cpp
)
