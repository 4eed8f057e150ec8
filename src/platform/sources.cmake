# The thin layer over Qt: message boxes, file dialogs, clipboard, settings,
# the timer clock of the driver, the toolkit's translation, the program's
# folders and the desktop's programs.
velo_layer(velo_platform platform
  SOURCES
    src/platform/clipboard.cpp
    src/platform/desktop.cpp
    src/platform/dialogs.cpp
    src/platform/input_box.cpp
    src/platform/messenger_qt.cpp
    src/platform/settings.cpp
    src/platform/settings_store_qt.cpp
    src/platform/toolkit_language.cpp
    src/platform/window_effects.cpp
  LINKS velo_project velo_prefs velo_engine velo_model Qt6::Widgets
)
