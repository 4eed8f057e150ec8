# The example generator: builds the example scenes with the core and writes
# them as simulation files (run: make_examples OUTPUT_FOLDER).
add_executable(make_examples examples/make_examples.cpp examples/example_scenes.cpp)
target_link_libraries(make_examples PRIVATE velo_core)
