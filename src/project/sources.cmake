# The project's life: new, open, save, close, the start point of a run,
# autosave copies and the temporary folders of the process.
velo_layer(velo_project project
  SOURCES
    src/project/autosave.cpp
    src/project/lifecycle.cpp
    src/project/start_point.cpp
    src/project/temp_folders.cpp
  LINKS velo_persist velo_celestial velo_model
)
