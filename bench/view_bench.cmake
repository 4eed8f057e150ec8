# The drawing benchmark needs the window library, so it is its own program
# (velo_bench links the core only).
if(VELO_BUILD_BENCH AND TARGET velo_gui)
  add_executable(velo_view_bench bench/view_bench.cpp)
  target_link_libraries(velo_view_bench PRIVATE velo_gui benchmark::benchmark)
endif()
