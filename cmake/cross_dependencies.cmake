# The header-only libraries for a cross build. Debian installs them for the
# build machine only, and their package files add /usr/include as an include
# folder, where the C library of the build machine would shadow the target's.
# The cross build therefore takes just their own headers: utfcpp's folder as
# it is, CLI11's and nlohmann-json's copied into a folder of their own.
set(TELLAVIN_HOST_INCLUDE /usr/include CACHE PATH "Where the build machine's header-only libraries are")

add_library(utf8cpp INTERFACE IMPORTED)
set_target_properties(utf8cpp PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${TELLAVIN_HOST_INCLUDE}/utf8cpp)

set(TELLAVIN_CROSS_INCLUDE ${CMAKE_BINARY_DIR}/cross-include)
file(COPY ${TELLAVIN_HOST_INCLUDE}/CLI DESTINATION ${TELLAVIN_CROSS_INCLUDE})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${TELLAVIN_CROSS_INCLUDE})

file(COPY ${TELLAVIN_HOST_INCLUDE}/nlohmann DESTINATION ${TELLAVIN_CROSS_INCLUDE})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${TELLAVIN_CROSS_INCLUDE})

# SQLite is a compiled library: only one built for the target will do, and
# without it the build leaves Firefox's database unread (see CMakeLists.txt).
find_package(SQLite3 QUIET)
