# The libraries of the core and its tests. A native build takes the ones the
# system has installed (scripts/bootstrap); a build for another system, which
# has none of them, compiles muParser and GoogleTest from their sources with
# its own compiler (scripts/test-windows passes the folders).
set(VELO_MUPARSER_SOURCE_DIR "" CACHE PATH "muParser's sources, compiled into the build instead of the installed library")
set(VELO_GTEST_SOURCE_DIR "" CACHE PATH "GoogleTest's sources, compiled into the build instead of the installed library")

# Header-only: the installed headers serve every target system. They sit
# among the host's own C headers, which a compiler for another system must
# not see, so a cross-build reaches them through a folder of their own.
if(CMAKE_CROSSCOMPILING)
  find_path(VELO_NLOHMANN_JSON_ROOT nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(json_root ${CMAKE_BINARY_DIR}/third-party-include)
  file(MAKE_DIRECTORY ${json_root})
  if(NOT EXISTS ${json_root}/nlohmann)
    file(CREATE_LINK ${VELO_NLOHMANN_JSON_ROOT}/nlohmann ${json_root}/nlohmann SYMBOLIC)
  endif()
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${json_root})
else()
  find_package(nlohmann_json 3 REQUIRED)
endif()

# muParser reads the density formulas of celestial bodies: velo_muparser.
add_library(velo_muparser INTERFACE)
if(VELO_MUPARSER_SOURCE_DIR)
  add_library(velo_muparser_static STATIC
    ${VELO_MUPARSER_SOURCE_DIR}/src/muParser.cpp
    ${VELO_MUPARSER_SOURCE_DIR}/src/muParserBase.cpp
    ${VELO_MUPARSER_SOURCE_DIR}/src/muParserBytecode.cpp
    ${VELO_MUPARSER_SOURCE_DIR}/src/muParserCallback.cpp
    ${VELO_MUPARSER_SOURCE_DIR}/src/muParserError.cpp
    ${VELO_MUPARSER_SOURCE_DIR}/src/muParserTokenReader.cpp)
  # Not our code: its own warnings are not ours to fix.
  target_compile_options(velo_muparser_static PRIVATE -w)
  target_compile_definitions(velo_muparser_static PUBLIC MUPARSER_STATIC)
  target_include_directories(velo_muparser_static SYSTEM PUBLIC ${VELO_MUPARSER_SOURCE_DIR}/include)
  target_link_libraries(velo_muparser INTERFACE velo_muparser_static)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MUPARSER REQUIRED IMPORTED_TARGET muparser)
  target_link_libraries(velo_muparser INTERFACE PkgConfig::MUPARSER)
endif()

# GoogleTest: GTest::gtest and GTest::gtest_main.
if(VELO_GTEST_SOURCE_DIR)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  # Its own project names the targets GTest::gtest and GTest::gtest_main.
  add_subdirectory(${VELO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
