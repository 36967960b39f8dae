# What the installed program is made of, and the packages CPack makes of it:
# on Linux a Debian package, the program in bin/ and what ships with it
# under share/; on Windows a zip of the portable program, everything in one
# directory. "tools/package" builds both.

set(QS_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(QS_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

set(CPACK_PACKAGE_NAME Quillstow)
set(CPACK_PACKAGE_VENDOR Orrinwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orrinwick <quillstow@quillstow.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "copies mail out of a mail store into ordinary files")
file(READ ${QS_PACKAGING}/description.txt CPACK_PACKAGE_DESCRIPTION)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

# Turns text into the lines CR LF ends, as Notepad wants them.
function(quillstow_windows_text source destination)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${destination} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

# The files made for the package alone; "tools/package" builds them with the
# program.
add_custom_target(quillstow_package_files ALL)

# Compresses a file as Debian wants it: the highest level, no name or time.
function(quillstow_gzip source destination)
  add_custom_command(OUTPUT ${destination}
    COMMAND gzip -9n -c ${source} > ${destination}
    DEPENDS ${source} VERBATIM)
  get_filename_component(name ${destination} NAME)
  add_custom_target(quillstow_gzip_${name} DEPENDS ${destination})
  add_dependencies(quillstow_package_files quillstow_gzip_${name})
endfunction()

if(WIN32)
  install(TARGETS quillstow RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/Help/index.html DESTINATION Help)
  quillstow_windows_text(${QS_PACKAGING}/windows/README.txt ${QS_PACKAGING_OUT}/README.txt)
  quillstow_windows_text(${PROJECT_SOURCE_DIR}/LICENSE ${QS_PACKAGING_OUT}/LICENSE.txt)
  install(FILES ${QS_PACKAGING_OUT}/README.txt ${QS_PACKAGING_OUT}/LICENSE.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME Quillstow-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME Quillstow-${PROJECT_VERSION}-win32)
  endif()
else()
  install(TARGETS quillstow RUNTIME DESTINATION bin)
  install(FILES ${PROJECT_SOURCE_DIR}/Help/index.html DESTINATION share/quillstow/Help)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/sample-mailbox/ DESTINATION share/quillstow/sample-mailbox)

  configure_file(${QS_PACKAGING}/quillstow.1.in ${QS_PACKAGING_OUT}/quillstow.1 @ONLY)
  quillstow_gzip(${QS_PACKAGING_OUT}/quillstow.1 ${QS_PACKAGING_OUT}/quillstow.1.gz)
  install(FILES ${QS_PACKAGING_OUT}/quillstow.1.gz DESTINATION share/man/man1)
  install(FILES ${QS_PACKAGING}/quillstow.bash-completion DESTINATION share/bash-completion/completions
          RENAME quillstow)

  # The copyright file carries the licence in the machine-readable form:
  # every line indented by one blank, an empty line written as " .".
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE QS_LICENSE)
  string(REGEX REPLACE "\n+$" "" QS_LICENSE "${QS_LICENSE}")
  string(REGEX REPLACE "\n\n" "\n.\n" QS_LICENSE "${QS_LICENSE}")
  string(REGEX REPLACE "\n" "\n " QS_LICENSE_BLOCK " ${QS_LICENSE}")
  string(REGEX MATCH "Copyright \\(c\\) [^\n]*" QS_COPYRIGHT_LINE "${QS_LICENSE}")
  string(REPLACE "Copyright (c) " "" QS_COPYRIGHT_HOLDER "${QS_COPYRIGHT_LINE}")
  configure_file(${QS_PACKAGING}/debian/copyright.in ${QS_PACKAGING_OUT}/copyright @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
  configure_file(${QS_PACKAGING}/debian/changelog.in ${QS_PACKAGING_OUT}/changelog @ONLY)
  quillstow_gzip(${QS_PACKAGING_OUT}/changelog ${QS_PACKAGING_OUT}/changelog.gz)
  install(FILES ${QS_PACKAGING_OUT}/copyright ${QS_PACKAGING_OUT}/changelog.gz
          DESTINATION share/doc/quillstow)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_NAME quillstow)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION mail)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillstow.example/)
  set(CPACK_STRIP_FILES ON)
endif()

include(CPack)
