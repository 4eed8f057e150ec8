# The program's own files and their installation. The program finds them
# beside itself (the build tree, a program unpacked in one folder) or, when
# it runs as <prefix>/bin/velocitronimatics, in <prefix>/share/velocitronimatics
# (platform/desktop.h, ProgramDataFolder). The build tree gets the same
# layout as the installed data folder, so the program runs from the build
# tree as installed.
include(GNUInstallDirs)

set(VELO_DATA_FILES
  Language/English.lng
  Language/Русский.lng
  Help/index.html
  Help/style.css
  Help/ru/index.html
  Help/en/index.html
  Graphics/Icons/velocitronimatics.svg
)
foreach(data_file ${VELO_DATA_FILES})
  configure_file(data/${data_file} ${CMAKE_BINARY_DIR}/${data_file} COPYONLY)
endforeach()
# The description of the physical model, also part of the help.
configure_file(docs/physics.md ${CMAKE_BINARY_DIR}/Help/physics.md COPYONLY)

set(VELO_DATA_DIR ${CMAKE_INSTALL_DATADIR}/velocitronimatics)

install(TARGETS velocitronimatics RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET velocitronimatics-cli)
  install(TARGETS velocitronimatics-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
foreach(data_file ${VELO_DATA_FILES})
  get_filename_component(data_folder ${data_file} DIRECTORY)
  install(FILES data/${data_file} DESTINATION ${VELO_DATA_DIR}/${data_folder})
endforeach()
install(FILES docs/physics.md DESTINATION ${VELO_DATA_DIR}/Help)
install(FILES
    examples/ball_bounce.qvs examples/balls_in_wind.qvs examples/dumbbell.qvs examples/hung_pendulums.qvs
    examples/inclined_planes.qvs examples/newton_cradle.qvs examples/parabolic_bowl.qvs
    examples/physical_pendulum.qvs examples/sun_earth_moon.json
  DESTINATION ${VELO_DATA_DIR}/Examples)

# The template of new projects, written from the program's defaults at
# build time and installed as a file of its own (so that the install
# manifest lists it and an uninstall removes it).
add_executable(make_template app/make_template.cpp)
target_link_libraries(make_template PRIVATE velo_persist velo_model)
set(VELO_TEMPLATE ${CMAKE_BINARY_DIR}/install-data/New.qvs)
add_custom_command(OUTPUT ${VELO_TEMPLATE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/install-data
  COMMAND make_template ${VELO_TEMPLATE}
  DEPENDS make_template
  COMMENT "Writing the template of new projects")
add_custom_target(velo_template ALL DEPENDS ${VELO_TEMPLATE})
add_dependencies(velocitronimatics velo_template)
install(FILES ${VELO_TEMPLATE} DESTINATION ${VELO_DATA_DIR})

# The desktop: the menu entry, the icon, and the file type of .qvs files
# (by extension and by the signature at the start of the file), opened with
# the program.
# The menu entry names the program by its installed path (the prefix of the
# installation, also one given to cmake --install --prefix), so it starts
# this program even when bin is not on the desktop's PATH. Written and
# installed by file(INSTALL), which the install manifest records.
install(CODE "
  set(VELO_DESKTOP_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/velocitronimatics\")
  if(VELO_DESKTOP_EXEC MATCHES \"[ \\t]\")
    set(VELO_DESKTOP_EXEC \"\\\"\${VELO_DESKTOP_EXEC}\\\"\")
  endif()
  configure_file(\"${CMAKE_SOURCE_DIR}/data/desktop/velocitronimatics.desktop.in\"
    \"${CMAKE_BINARY_DIR}/install-data/velocitronimatics.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/install-data/velocitronimatics.desktop\"
    DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")
install(FILES data/Graphics/Icons/velocitronimatics.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Menus and docks that take only bitmaps find the 48-pixel one, the size
# every icon theme must have.
install(FILES data/Graphics/Icons/velocitronimatics-48.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME velocitronimatics.png)
install(FILES data/desktop/velocitronimatics-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME velocitronimatics.xml)
# A packager runs the desktop's caches after unpacking (DESTDIR set); a
# direct installation brings them up to date itself.
find_program(VELO_UPDATE_MIME update-mime-database)
find_program(VELO_UPDATE_DESKTOP update-desktop-database)
find_program(VELO_UPDATE_ICONS gtk-update-icon-cache)
foreach(cache_tool VELO_UPDATE_MIME VELO_UPDATE_DESKTOP VELO_UPDATE_ICONS)
  if(${cache_tool})
    set(cache_options "")
    if(cache_tool STREQUAL "VELO_UPDATE_MIME")
      set(cache_folder mime)
    elseif(cache_tool STREQUAL "VELO_UPDATE_DESKTOP")
      set(cache_folder applications)
    else()
      # A prefix of its own has no index.theme of hicolor.
      set(cache_folder icons/hicolor)
      set(cache_options "-q -t -f")
    endif()
    install(CODE "
      if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
        execute_process(COMMAND \"${${cache_tool}}\" ${cache_options} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/${cache_folder}\")
      endif()
    ")
  endif()
endforeach()
