list(APPEND VELO_BENCH_SOURCES
  bench/world_bench.cpp
  bench/celestial_bench.cpp
)
