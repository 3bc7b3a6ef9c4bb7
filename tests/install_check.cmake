# Installs a build into a fresh prefix and checks what a user gets: both
# programs, and nothing else than the files that go with them: on Linux the
# help page and the colour presets in share/tellavin, the manual pages and
# the bash completion; on Windows the help page beside the desktop program;
# the desktop program's menu entry, icon and AppStream metadata. Then the
# command line runs from where it was installed.
#   cmake -DBUILD=<build folder> -DPREFIX=<empty folder> -DGUI=ON|OFF
#         -DLAYOUT=linux|windows [-DEXE_SUFFIX=.exe] [-DEMULATOR=wine]
#         -P install_check.cmake
# A cross build gives the programs' suffix and what runs them here.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
set(metainfo share/metainfo/example.tellavin.Tellavin.metainfo.xml)
set(expected bin/tellavin-cli${EXE_SUFFIX})
if(LAYOUT STREQUAL "linux")
  list(APPEND expected share/tellavin/ColorPreset.ini share/man/man1/tellavin-cli.1.gz
       share/bash-completion/completions/tellavin-cli)
endif()
if(GUI)
  list(APPEND expected bin/tellavin${EXE_SUFFIX} share/applications/tellavin.desktop
       share/icons/hicolor/scalable/apps/tellavin.svg ${metainfo})
  if(LAYOUT STREQUAL "linux")
    list(APPEND expected share/tellavin/Help.html share/man/man1/tellavin.1.gz)
  else()
    list(APPEND expected bin/Help.html)
  endif()
endif()
file(GLOB_RECURSE found RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "installed:\n  ${found}\nexpected:\n  ${expected}")
endif()
execute_process(COMMAND ${EMULATOR} ${PREFIX}/bin/tellavin-cli${EXE_SUFFIX} --version
                OUTPUT_VARIABLE version)
if(NOT version MATCHES "^tellavin-cli [0-9]")
  message(FATAL_ERROR "the installed tellavin-cli answers --version with: ${version}")
endif()
find_program(VALIDATE_METAINFO appstreamcli)
if(GUI AND VALIDATE_METAINFO)
  execute_process(COMMAND ${VALIDATE_METAINFO} validate --no-net ${PREFIX}/${metainfo}
                  RESULT_VARIABLE valid OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT valid EQUAL 0)
    message(FATAL_ERROR "appstreamcli refuses the AppStream metadata:\n${said}")
  endif()
endif()
find_program(VALIDATE desktop-file-validate)
if(GUI AND VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/tellavin.desktop
                  RESULT_VARIABLE valid)
  if(NOT valid EQUAL 0)
    message(FATAL_ERROR "the desktop entry does not validate")
  endif()
endif()
