# The drawing benchmark links the window library and is defined in
# bench/view_bench.cmake as the program velo_view_bench.
