# Turns the menu engine's JavaScript files into a C++ source holding them as
# byte arrays. Run as a build step:
#   cmake -DSOURCE_DIR=<resources/menu> -DTEMPLATE=<.cpp.in> -DOUTPUT=<.cpp> -P embed_menu_scripts.cmake
function(bytes_of file out_var)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
         "\\1\n    " bytes "${bytes}")
  set(${out_var} "${bytes}" PARENT_SCOPE)
endfunction()

bytes_of("${SOURCE_DIR}/popup_menu.js" ENGINE_BYTES)
bytes_of("${SOURCE_DIR}/page_events.js" EVENTS_BYTES)
bytes_of("${SOURCE_DIR}/drop_shadow.js" SHADOW_BYTES)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
