list(APPEND VELO_BENCH_SOURCES
  bench/contacts_bench.cpp
  bench/editing_bench.cpp
  bench/persist_bench.cpp
  bench/rods_bench.cpp
  bench/step_bench.cpp
  bench/world_bench.cpp
  bench/celestial_bench.cpp
  bench/record_bench.cpp
)
