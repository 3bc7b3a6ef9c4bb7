# Read by cpack before it makes the Debian package: the Depends line is what
# dpkg-shlibdeps finds for the libraries the programs link, followed by the
# packages that hold the Qt plugins the desktop program loads at run time,
# those not already named.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(scratch ${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps)
file(REMOVE_RECURSE ${scratch})
# dpkg-shlibdeps wants a source package's control file in its working folder.
file(WRITE ${scratch}/debian/control "Source: tellavin\n\nPackage: tellavin\nArchitecture: any\n")
# It warns that the programs do not lie in a package's folder yet; an error
# ends the packaging with what it said.
execute_process(COMMAND dpkg-shlibdeps -O ${CPACK_TELLAVIN_PROGRAMS}
                WORKING_DIRECTORY ${scratch}
                OUTPUT_VARIABLE substitution ERROR_VARIABLE said RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "dpkg-shlibdeps failed:\n${said}")
endif()
file(REMOVE_RECURSE ${scratch})
string(REGEX REPLACE "^shlibs:Depends=" "" depends "${substitution}")
string(STRIP "${depends}" depends)
foreach(package IN LISTS CPACK_TELLAVIN_PLUGIN_PACKAGES)
  if(NOT ", ${depends}," MATCHES ", ${package}[ ,]")
    string(APPEND depends ", ${package}")
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
