list(APPEND VELO_CORE_SOURCES
  src/engine/imitator.cpp
)
