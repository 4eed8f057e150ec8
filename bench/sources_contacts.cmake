list(APPEND VELO_BENCH_SOURCES bench/contacts_bench.cpp)
