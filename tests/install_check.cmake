# Installs a build into a fresh prefix and checks what a user gets: both
# programs, the help page beside the desktop program, its menu entry and
# icon, and a command line that runs from where it was installed.
#   cmake -DBUILD=<build folder> -DPREFIX=<empty folder> -DGUI=ON|OFF
#         [-DEXE_SUFFIX=.exe] [-DEMULATOR=wine] -P install_check.cmake
# A cross build gives the programs' suffix and what runs them here.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
set(expected bin/tellavin-cli${EXE_SUFFIX})
if(GUI)
  list(APPEND expected bin/tellavin bin/Help.html share/applications/tellavin.desktop
       share/icons/hicolor/scalable/apps/tellavin.svg)
endif()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
execute_process(COMMAND ${EMULATOR} ${PREFIX}/bin/tellavin-cli${EXE_SUFFIX} --version
                OUTPUT_VARIABLE version)
if(NOT version MATCHES "^tellavin-cli [0-9]")
  message(FATAL_ERROR "the installed tellavin-cli answers --version with: ${version}")
endif()
find_program(VALIDATE desktop-file-validate)
if(GUI AND VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/tellavin.desktop
                  RESULT_VARIABLE valid)
  if(NOT valid EQUAL 0)
    message(FATAL_ERROR "the desktop entry does not validate")
  endif()
endif()
