list(APPEND VELO_CORE_SOURCES
  src/engine/geometry.cpp
  src/engine/ball_contacts.cpp
)
