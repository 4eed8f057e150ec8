list(APPEND VELO_CORE_SOURCES
  src/engine/rod_phase.cpp
  src/engine/thread_phase.cpp
)
