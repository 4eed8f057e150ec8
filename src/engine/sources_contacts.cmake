list(APPEND VELO_CORE_SOURCES
  src/engine/geometry.cpp
  src/engine/curves.cpp
  src/engine/contact_response.cpp
  src/engine/obstacle_index.cpp
  src/engine/ball_contacts.cpp
)
