# The command-line tool's commands, over the file, project and engine layers.
velo_layer(velo_cli cli
  SOURCES
    src/cli/cli_tool.cpp
  LINKS velo_project velo_persist velo_record velo_celestial velo_engine velo_model
)
