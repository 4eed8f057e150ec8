# The World, its records, materials, units and derived fields.
velo_layer(velo_model model
  SOURCES
    src/model/derived_fields.cpp
    src/model/materials.cpp
    src/model/world_ops.cpp
)
