list(APPEND VELO_BENCH_SOURCES bench/step_bench.cpp)
