list(APPEND VELO_CORE_TEST_SOURCES
  tests/engine/ball_forces_test.cpp
  tests/engine/mechanical_step_test.cpp
  tests/engine/driver_test.cpp
  tests/engine/time_display_test.cpp
  tests/engine/time_scale_test.cpp
)
