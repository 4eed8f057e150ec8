# The mechanical step and the driver that runs it.
velo_layer(velo_engine engine
  SOURCES
    src/engine/ball_contact_walk.cpp
    src/engine/ball_contacts.cpp
    src/engine/ball_forces.cpp
    src/engine/chain_layout.cpp
    src/engine/contact_response.cpp
    src/engine/curves.cpp
    src/engine/driver.cpp
    src/engine/fastening.cpp
    src/engine/geometry.cpp
    src/engine/imitator.cpp
    src/engine/obstacle_index.cpp
    src/engine/rod_contacts.cpp
    src/engine/rod_impulse.cpp
    src/engine/rod_phase.cpp
    src/engine/step_context.cpp
    src/engine/thread_phase.cpp
    src/engine/time_display.cpp
  LINKS velo_model
)
