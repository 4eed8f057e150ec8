# The simulation file: bytes, code page, reader, writer, and the JSON views
# (the whole World, and the celestial scenes); INI text and the language
# files.
velo_layer(velo_persist persist
  SOURCES
    src/persist/atomic_file.cpp
    src/persist/byte_io.cpp
    src/persist/celestial_json.cpp
    src/persist/cp1251.cpp
    src/persist/ini_file.cpp
    src/persist/language_file.cpp
    src/persist/native_file.cpp
    $<$<PLATFORM_ID:Windows>:src/persist/native_file_windows.cpp>
    src/persist/qvs_reader.cpp
    src/persist/qvs_writer.cpp
    src/persist/world_json.cpp
  LINKS velo_celestial velo_model nlohmann_json::nlohmann_json
)
