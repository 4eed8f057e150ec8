list(APPEND VELO_GUI_SOURCES src/platform/messenger_qt.cpp)
list(APPEND VELO_GUI_SOURCES src/platform/dialogs.cpp)
list(APPEND VELO_GUI_SOURCES src/platform/clipboard.cpp)
list(APPEND VELO_GUI_SOURCES src/platform/settings.cpp)
