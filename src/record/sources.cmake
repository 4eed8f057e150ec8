# The recorder of quantities over a run, the collision log and their export.
velo_layer(velo_record record
  LINKS velo_forms velo_engine velo_model
)
