# The libFuzzer targets of the file readers (clang only): the simulation
# file, the celestial scene and the INI text of the language files. The
# core layers are instrumented for coverage (cmake/VeloLayers.cmake);
# AddressSanitizer and UndefinedBehaviorSanitizer come with VELO_SANITIZE.
foreach(target qvs_reader_fuzz celestial_json_fuzz ini_fuzz)
  add_executable(${target} fuzz/${target}.cpp)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE velo_persist)
endforeach()
