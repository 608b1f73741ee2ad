# CLI11 is header-only (Debian libcli11-dev). A native build takes it through its CMake config;
# a cross build cannot put the host's /usr/include on its include path, so there the CLI folder
# alone is linked into a folder of the build tree.
add_library(quorvel_cli11 INTERFACE)
add_library(quorvel_json INTERFACE)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(CLI11 CONFIG REQUIRED)
  target_link_libraries(quorvel_cli11 INTERFACE CLI11::CLI11)
  find_package(nlohmann_json 3 CONFIG REQUIRED)
  target_link_libraries(quorvel_json INTERFACE nlohmann_json::nlohmann_json)
  return()
endif()
find_path(CLI11_HOST_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT CLI11_HOST_INCLUDE)
  message(FATAL_ERROR "CLI11 not found: install libcli11-dev")
endif()
set(_cli11_dir ${CMAKE_BINARY_DIR}/third_party/include)
if(NOT EXISTS ${_cli11_dir}/CLI)
  file(MAKE_DIRECTORY ${_cli11_dir})
  file(CREATE_LINK ${CLI11_HOST_INCLUDE}/CLI ${_cli11_dir}/CLI SYMBOLIC)
endif()
target_include_directories(quorvel_cli11 SYSTEM INTERFACE ${_cli11_dir})

# nlohmann-json is header-only too (Debian nlohmann-json3-dev): every JSON document is built with
# it, and the tests read the documents back with it. A native build takes its CMake config (above);
# in a cross build its folder is linked beside CLI11's.
find_path(NLOHMANN_JSON_HOST_INCLUDE nlohmann/json.hpp PATHS /usr/include
          NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT NLOHMANN_JSON_HOST_INCLUDE)
  message(FATAL_ERROR "nlohmann-json not found: install nlohmann-json3-dev")
endif()
if(NOT EXISTS ${_cli11_dir}/nlohmann)
  file(CREATE_LINK ${NLOHMANN_JSON_HOST_INCLUDE}/nlohmann ${_cli11_dir}/nlohmann SYMBOLIC)
endif()
target_include_directories(quorvel_json SYSTEM INTERFACE ${_cli11_dir})
