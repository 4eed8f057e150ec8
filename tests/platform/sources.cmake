list(APPEND VELO_GUI_TEST_SOURCES
  tests/platform/platform_services_test.cpp
  tests/platform/stored_settings_test.cpp
  tests/platform/window_effects_test.cpp
)
