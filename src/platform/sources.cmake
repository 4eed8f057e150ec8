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
# On X11, window transparency needs a compositing manager; libxcb asks the
# display for one. Without libxcb every X11 session counts as able.
pkg_check_modules(XCB IMPORTED_TARGET xcb)
if(XCB_FOUND)
  target_link_libraries(velo_platform PRIVATE PkgConfig::XCB)
  target_compile_definitions(velo_platform PRIVATE VELO_HAVE_XCB)
endif()
