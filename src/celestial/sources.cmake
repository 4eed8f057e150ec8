# Celestial bodies, their view, the density formula and the N-body step.
velo_layer(velo_celestial celestial
  SOURCES
    src/celestial/bodies.cpp
    src/celestial/celestial_pairs.cpp
    src/celestial/celestial_step.cpp
    src/celestial/density_formula.cpp
  LINKS velo_model velo_muparser
)
