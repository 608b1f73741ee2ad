# zint for the mingw-w64 build: Debian's source package (scripts/third-party/zint, fetched once
# into a cache that every build tree reuses), built into this build tree as a static library
# without PNG, Qt or its front ends, so the drawing DLL carries it and ships nothing beside it.
# Defines the imported target quorvel_zint.
include(ExternalProject)

execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/third-party/zint
                OUTPUT_VARIABLE _zint_source OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE _zint_fetched)
if(NOT _zint_fetched EQUAL 0 OR NOT EXISTS ${_zint_source}/backend/zint.h)
  message(FATAL_ERROR "zint's source could not be fetched (run scripts/install-deps, which adds "
                      "Debian's source packages to apt)")
endif()

set(_zint_build ${CMAKE_BINARY_DIR}/third-party/zint)
set(_zint_library ${_zint_build}/backend/${CMAKE_STATIC_LIBRARY_PREFIX}zint-static${CMAKE_STATIC_LIBRARY_SUFFIX})
ExternalProject_Add(zint_cross
  SOURCE_DIR ${_zint_source}
  BINARY_DIR ${_zint_build}
  PREFIX ${CMAKE_BINARY_DIR}/third-party/zint-steps
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
             -DZINT_STATIC=ON -DZINT_USE_PNG=OFF -DZINT_USE_QT=OFF
             -DCMAKE_POSITION_INDEPENDENT_CODE=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target zint-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${_zint_library}
  DOWNLOAD_COMMAND "" UPDATE_COMMAND "" PATCH_COMMAND "")

add_library(quorvel_zint STATIC IMPORTED GLOBAL)
set_target_properties(quorvel_zint PROPERTIES IMPORTED_LOCATION ${_zint_library}
                                              INTERFACE_INCLUDE_DIRECTORIES ${_zint_source}/backend)
add_dependencies(quorvel_zint zint_cross)
