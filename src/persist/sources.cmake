# The simulation file: bytes, code page, reader, writer, and the JSON view.
velo_layer(velo_persist persist
  SOURCES
    src/persist/atomic_file.cpp
    src/persist/byte_io.cpp
    src/persist/cp1251.cpp
    src/persist/native_file.cpp
    src/persist/qvs_reader.cpp
    src/persist/qvs_writer.cpp
    src/persist/world_json.cpp
  LINKS velo_model nlohmann_json::nlohmann_json
)
