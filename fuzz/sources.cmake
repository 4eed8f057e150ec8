# The libFuzzer target of the simulation file reader (clang only). The core
# is instrumented for coverage; AddressSanitizer and UndefinedBehaviorSanitizer
# come with VELO_SANITIZE.
target_compile_options(velo_core PRIVATE -fsanitize=fuzzer-no-link)
add_executable(qvs_reader_fuzz fuzz/qvs_reader_fuzz.cpp)
target_compile_options(qvs_reader_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(qvs_reader_fuzz PRIVATE -fsanitize=fuzzer)
target_link_libraries(qvs_reader_fuzz PRIVATE velo_core)
