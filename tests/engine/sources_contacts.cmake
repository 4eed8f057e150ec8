list(APPEND VELO_CORE_TEST_SOURCES
  tests/engine/geometry_test.cpp
  tests/engine/ball_contacts_test.cpp
  tests/engine/contacts_equivalence_test.cpp
)
