list(APPEND VELO_CORE_SOURCES
  src/persist/byte_io.cpp
  src/persist/celestial_json.cpp
  src/persist/cp1251.cpp
  src/persist/qvs_reader.cpp
  src/persist/qvs_writer.cpp
)
