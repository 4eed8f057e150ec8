list(APPEND VELO_GUI_TEST_SOURCES
  tests/install/install_test.cpp
)
# Run after the targets it installs are built.
set(VELO_INSTALL_TEST_DEPENDS velocitronimatics make_template)
if(TARGET velocitronimatics-cli)
  list(APPEND VELO_INSTALL_TEST_DEPENDS velocitronimatics-cli)
endif()
