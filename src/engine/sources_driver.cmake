list(APPEND VELO_CORE_SOURCES
  src/engine/imitator.cpp
  src/engine/ball_forces.cpp
  src/engine/driver.cpp
  src/engine/time_display.cpp
  src/engine/time_scale.cpp
)
