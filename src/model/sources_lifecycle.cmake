list(APPEND VELO_CORE_SOURCES
  src/model/lifecycle.cpp
)
