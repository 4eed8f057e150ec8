# The libFuzzer target of the simulation file reader (clang only). The core
# layers are instrumented for coverage (cmake/VeloLayers.cmake);
# AddressSanitizer and UndefinedBehaviorSanitizer come with VELO_SANITIZE.
add_executable(qvs_reader_fuzz fuzz/qvs_reader_fuzz.cpp)
target_compile_options(qvs_reader_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(qvs_reader_fuzz PRIVATE -fsanitize=fuzzer)
target_link_libraries(qvs_reader_fuzz PRIVATE velo_persist)
