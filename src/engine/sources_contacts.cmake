list(APPEND VELO_CORE_SOURCES
  src/engine/ball_contacts.cpp
)
