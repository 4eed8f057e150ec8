# The main window, its menus and commands, and the editing modes it arms
# (src/editor/modes/, one file per mode).
velo_layer(velo_editor editor
  SOURCES
    src/editor/main_window.cpp
    src/editor/main_window_commands.cpp
    src/editor/main_window_menus.cpp
    src/editor/main_window_run.cpp
    src/editor/tool_icons.cpp
  LINKS velo_windows velo_platform velo_view velo_project velo_editing velo_forms velo_celestial velo_engine velo_model
        Qt6::Widgets
)
