# The Qt windows, one file per window; each binds its widgets to the form of
# the same name in src/forms/.
velo_layer(velo_windows windows
  SOURCES
  LINKS velo_forms velo_platform velo_view velo_model Qt6::Widgets
)
