list(APPEND VELO_GUI_TEST_SOURCES tests/gui/view_transform_test.cpp)
list(APPEND VELO_GUI_TEST_SOURCES tests/gui/view_colours_test.cpp)
list(APPEND VELO_GUI_TEST_SOURCES tests/gui/view_render_test.cpp)
