# The view transform and the drawing of the World; it reads the World and
# never writes it.
velo_layer(velo_view view
  SOURCES
    src/view/colours.cpp
    src/view/scene_widget.cpp
    src/view/view_transform.cpp
    src/view/world_renderer.cpp
  LINKS velo_celestial velo_engine velo_model Qt6::Widgets
)
