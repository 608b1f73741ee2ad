# zbar for the Windows build. MSVC takes it from vcpkg (`vcpkg install zbar`, then configure with
# vcpkg's toolchain file): its port gives the CMake package zbar. The mingw-w64 cross build
# compiles zbar's image scanner from Debian's source package, which scripts/install-deps fetches
# (scripts/third-party/zbar) into build/sources, once into the build tree, through
# ExternalProject (cmake/third-party/zbar). Either way the target is quorvel_zbar.
if(TARGET quorvel_zbar)
  return()
endif()
add_library(quorvel_zbar INTERFACE)
if(MSVC)
  find_package(zbar CONFIG REQUIRED)
  target_link_libraries(quorvel_zbar INTERFACE zbar::zbar)
  return()
endif()

set(QUORVEL_ZBAR_VERSION 0.23.92-7+deb12u1)
set(_cache "${PROJECT_SOURCE_DIR}/build/sources")
if(DEFINED ENV{QUORVEL_SOURCE_CACHE})
  set(_cache "$ENV{QUORVEL_SOURCE_CACHE}")
endif()
set(QUORVEL_SOURCE_CACHE "${_cache}" CACHE PATH
    "Where scripts/install-deps puts the Debian source packages the Windows build compiles")
set(_zbar_source ${QUORVEL_SOURCE_CACHE}/zbar-${QUORVEL_ZBAR_VERSION})
if(NOT EXISTS ${_zbar_source}/zbar/img_scanner.c)
  message(FATAL_ERROR "zbar's source ${QUORVEL_ZBAR_VERSION} is not in ${QUORVEL_SOURCE_CACHE}: "
                      "run scripts/install-deps (as root), which fetches it")
endif()

include(ExternalProject)
set(_zbar_prefix ${CMAKE_BINARY_DIR}/third_party/zbar)
ExternalProject_Add(quorvel_zbar_build
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/third-party/zbar
  BINARY_DIR ${_zbar_prefix}-build
  INSTALL_DIR ${_zbar_prefix}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
             -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR> -DZBAR_SOURCE_DIR=${_zbar_source}
  BUILD_BYPRODUCTS ${_zbar_prefix}/lib/libzbar.a
  UPDATE_COMMAND ""
)
file(MAKE_DIRECTORY ${_zbar_prefix}/include)
target_include_directories(quorvel_zbar SYSTEM INTERFACE ${_zbar_prefix}/include)
target_link_libraries(quorvel_zbar INTERFACE ${_zbar_prefix}/lib/libzbar.a)
add_dependencies(quorvel_zbar quorvel_zbar_build)
