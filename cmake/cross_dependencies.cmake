# The header-only libraries for a cross build. Debian installs them for the
# build machine only, and their package files add /usr/include as an include
# folder, where the C library of the build machine would shadow the target's.
# The cross build therefore takes just their own headers: utfcpp's folder as
# it is, CLI11's copied into a folder of its own.
set(TELLAVIN_HOST_INCLUDE /usr/include CACHE PATH "Where the build machine's header-only libraries are")

add_library(utf8cpp INTERFACE IMPORTED)
set_target_properties(utf8cpp PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${TELLAVIN_HOST_INCLUDE}/utf8cpp)

set(TELLAVIN_CLI11_INCLUDE ${CMAKE_BINARY_DIR}/cross-include)
file(COPY ${TELLAVIN_HOST_INCLUDE}/CLI DESTINATION ${TELLAVIN_CLI11_INCLUDE})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${TELLAVIN_CLI11_INCLUDE})
