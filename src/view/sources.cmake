list(APPEND VELO_GUI_SOURCES
  src/view/colours.cpp
  src/view/view_transform.cpp
  src/view/world_renderer.cpp
  src/view/scene_widget.cpp
)
