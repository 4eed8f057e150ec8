# The Qt-free operations of the scene editor: the hit test, creation,
# selection, copying, deleting and moving of objects. The editing modes and
# windows call them; the tests drive them without a screen.
velo_layer(velo_editing editing
  SOURCES
    src/editing/celestial_edits.cpp
    src/editing/creation.cpp
    src/editing/hit_test.cpp
    src/editing/moving.cpp
    src/editing/optimize.cpp
    src/editing/selection.cpp
    src/editing/world_change.cpp
  LINKS velo_engine velo_celestial velo_model
)
