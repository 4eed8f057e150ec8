list(APPEND VELO_CORE_SOURCES
  src/celestial/bodies.cpp
  src/celestial/celestial_pairs.cpp
  src/celestial/celestial_step.cpp
  src/celestial/density_formula.cpp
)
