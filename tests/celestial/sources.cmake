list(APPEND VELO_CORE_TEST_SOURCES
  tests/celestial/bodies_test.cpp
  tests/celestial/celestial_step_test.cpp
  tests/celestial/celestial_equivalence_test.cpp
  tests/celestial/density_formula_test.cpp
  tests/celestial/celestial_json_test.cpp
)
