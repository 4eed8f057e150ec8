list(APPEND VELO_CORE_TEST_SOURCES
  tests/engine/rod_phase_test.cpp
  tests/engine/rod_contacts_test.cpp
  tests/engine/thread_test.cpp
  tests/engine/fastening_test.cpp
  tests/engine/rod_equivalence_test.cpp
  tests/engine/golden_hash_test.cpp
)
