list(APPEND VELO_GUI_TEST_SOURCES
  tests/editor/editor_file_commands_test.cpp
  tests/editor/editor_language_test.cpp
  tests/editor/editor_layout_test.cpp
  tests/editor/editor_menus_test.cpp
  tests/editor/editor_modes_test.cpp
  tests/editor/editor_restart_test.cpp
  tests/editor/editor_run_test.cpp
  tests/editor/editor_screenshot_test.cpp
)
