# The main window, its menus and commands, and the editing modes it arms
# (src/editor/modes/, one file per mode).
velo_layer(velo_editor editor
  SOURCES
    src/editor/main_window.cpp
    src/editor/main_window_commands.cpp
    src/editor/main_window_language.cpp
    src/editor/main_window_menus.cpp
    src/editor/main_window_run.cpp
    src/editor/modes/bar_mode.cpp
    src/editor/modes/celestial_body_mode.cpp
    src/editor/modes/body_mode.cpp
    src/editor/modes/curve_mode.cpp
    src/editor/modes/group_mode.cpp
    src/editor/modes/laval_mode.cpp
    src/editor/modes/move_mode.cpp
    src/editor/modes/plane_mode.cpp
    src/editor/modes/pointers.cpp
    src/editor/modes/protractor_mode.cpp
    src/editor/modes/rod_mode.cpp
    src/editor/modes/ruler_mode.cpp
    src/editor/modes/select_mode.cpp
    src/editor/modes/surface_mode.cpp
    src/editor/modes/thread_mode.cpp
    src/editor/parameters_command.cpp
    src/editor/scene_editor.cpp
    src/editor/tool_icons.cpp
  LINKS velo_windows velo_record velo_platform velo_view velo_project velo_editing velo_forms velo_celestial velo_engine velo_model
        Qt6::Widgets
)
