list(APPEND VELO_BENCH_SOURCES bench/rods_bench.cpp)
