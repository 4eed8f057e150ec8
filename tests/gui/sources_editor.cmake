list(APPEND VELO_GUI_TEST_SOURCES tests/gui/editor_menus_test.cpp)
list(APPEND VELO_GUI_TEST_SOURCES tests/gui/editor_file_commands_test.cpp)
list(APPEND VELO_GUI_TEST_SOURCES tests/gui/editor_screenshot_test.cpp)
list(APPEND VELO_GUI_TEST_SOURCES tests/gui/platform_services_test.cpp)
