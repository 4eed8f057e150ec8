# Celestial bodies, their view and (to come) their integrator.
velo_layer(velo_celestial celestial
  SOURCES
    src/celestial/bodies.cpp
  LINKS velo_model
)
