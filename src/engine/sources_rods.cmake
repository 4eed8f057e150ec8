list(APPEND VELO_CORE_SOURCES
  src/engine/rod_phase.cpp
  src/engine/rod_contacts.cpp
  src/engine/rod_impulse.cpp
  src/engine/thread_phase.cpp
  src/engine/fastening.cpp
  src/engine/chain_layout.cpp
)
