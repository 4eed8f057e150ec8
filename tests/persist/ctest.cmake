# The mutation test of the simulation file reader: a program of its own, so
# that it runs under ctest in the Release and the sanitizer builds alike.
add_executable(velo_qvs_mutation tests/persist/qvs_mutation_main.cpp)
target_include_directories(velo_qvs_mutation PRIVATE tests)
target_link_libraries(velo_qvs_mutation PRIVATE velo_core)
target_compile_definitions(velo_qvs_mutation PRIVATE VELO_SOURCE_DIR="${VELO_TEST_SOURCE_DIR}")
add_test(NAME QvsMutation COMMAND velo_qvs_mutation 5000)
set_tests_properties(QvsMutation PROPERTIES TIMEOUT 120)
