# The manual pages named in TELLAVIN_MANUAL_PAGES (tellavin-cli.1, ...): each
# docs/man/PAGE.in with the version filled in, compressed as Debian keeps
# manual pages (gzip -9n: no name, no time), and installed in man1.
find_program(TELLAVIN_GZIP gzip REQUIRED)
set(TELLAVIN_MANUAL_OUTPUTS)
foreach(page IN LISTS TELLAVIN_MANUAL_PAGES)
  set(roff ${CMAKE_BINARY_DIR}/man/${page})
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${page}.in ${roff} @ONLY)
  add_custom_command(
    OUTPUT ${roff}.gz
    COMMAND ${TELLAVIN_GZIP} -9nkf ${roff}
    DEPENDS ${roff}
    COMMENT "Compressing the manual page ${page}"
    VERBATIM)
  list(APPEND TELLAVIN_MANUAL_OUTPUTS ${roff}.gz)
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${TELLAVIN_MANUAL_OUTPUTS})
install(FILES ${TELLAVIN_MANUAL_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
