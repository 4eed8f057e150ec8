list(APPEND VELO_CORE_TEST_SOURCES
  tests/prefs/settings_store_test.cpp
)
