list(APPEND VELO_CORE_SOURCES
  src/persist/temp_folders.cpp
  src/persist/world_json.cpp
)
