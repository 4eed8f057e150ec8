# The recorder of quantities over a run, the collision log and their export.
velo_layer(velo_record record
  SOURCES
    src/record/collision_log.cpp
    src/record/energy.cpp
    src/record/quantities.cpp
    src/record/record_csv.cpp
    src/record/recorder.cpp
  LINKS velo_forms velo_engine velo_model
)
