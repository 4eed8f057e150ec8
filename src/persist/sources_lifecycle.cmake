list(APPEND VELO_CORE_SOURCES
  src/persist/temp_folders.cpp
  src/persist/world_json.cpp
  src/persist/start_point.cpp
  src/persist/autosave.cpp
  src/persist/cli_tool.cpp
)
