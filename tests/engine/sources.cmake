list(APPEND VELO_CORE_TEST_SOURCES
  tests/engine/ball_contacts_test.cpp
  tests/engine/ball_forces_test.cpp
  tests/engine/contacts_equivalence_test.cpp
  tests/engine/driver_test.cpp
  tests/engine/fastening_test.cpp
  tests/engine/formula_agreement_test.cpp
  tests/engine/geometry_test.cpp
  tests/engine/golden_hash_test.cpp
  tests/engine/mechanical_step_test.cpp
  tests/engine/rod_contacts_test.cpp
  tests/engine/rod_equivalence_test.cpp
  tests/engine/rod_phase_test.cpp
  tests/engine/step_allocations_test.cpp
  tests/engine/thread_test.cpp
  tests/engine/time_display_test.cpp
)
