list(APPEND VELO_CORE_TEST_SOURCES
  tests/record/collision_log_test.cpp
  tests/record/quantities_test.cpp
  tests/record/record_csv_test.cpp
  tests/record/recorder_test.cpp
)
