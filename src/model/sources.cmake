# The World, its records, materials, units and derived fields.
velo_layer(velo_model model
  SOURCES
    src/model/derived_fields.cpp
    src/model/materials.cpp
    src/model/world_ops.cpp
  LINKS velo_portable_math
)
# GCC's straight-line vectorizer packs the two halves of vectors passed by
# value through the stack and then stalls on reading them back: without it
# the rod phase runs about 40 % faster, with the same results to the bit.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(velo_model PRIVATE -fno-tree-slp-vectorize)
endif()
