# The drawing benchmark needs the view layer, so it is its own program
# (velo_bench links the core only).
if(VELO_BUILD_BENCH)
  add_executable(velo_view_bench bench/view_bench.cpp)
  target_link_libraries(velo_view_bench PRIVATE velo_view benchmark::benchmark)
  # Opening the largest windows on the full scene.
  add_executable(velo_window_bench bench/window_bench.cpp)
  target_link_libraries(velo_window_bench PRIVATE velo_windows velo_view benchmark::benchmark)
  # The capacity scene running with a live graph window open and closed.
  add_executable(velo_graph_bench bench/graph_bench.cpp)
  target_link_libraries(velo_graph_bench PRIVATE velo_windows velo_view benchmark::benchmark)
endif()
