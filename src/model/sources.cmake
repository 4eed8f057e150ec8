list(APPEND VELO_CORE_SOURCES
  src/model/materials.cpp
  src/model/world_ops.cpp
)
