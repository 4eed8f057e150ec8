list(APPEND VELO_GUI_TEST_SOURCES
  tests/view/view_colours_test.cpp
  tests/view/view_render_test.cpp
  tests/view/view_transform_test.cpp
)
