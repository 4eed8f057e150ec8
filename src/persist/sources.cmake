list(APPEND VELO_CORE_SOURCES
  src/persist/qvs_reader.cpp
  src/persist/qvs_writer.cpp
)
