# Help files: every resources/help/<Language>.htm. The package brings the English page as the program's help
# file \Windows\Orvane.htm; each other language goes to \Windows\ as <Language>.zanthht1, which the installer
# helper offers and installs over Orvane.htm when chosen. What goes to \Windows\ is assembled beside the
# package, in share/orvane/windows.
get_filename_component(ORVANE_WINDOWS_FILES_DIR ${ORVANE_PACKAGE_DIR}/../windows ABSOLUTE)
file(GLOB HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/help/*.htm)
foreach(source IN LISTS HELP_SOURCES)
  get_filename_component(language ${source} NAME_WE)
  if(language STREQUAL "English")
    set(output ${ORVANE_WINDOWS_FILES_DIR}/Orvane.htm)
  else()
    set(output ${ORVANE_WINDOWS_FILES_DIR}/${language}.zanthht1)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${output}
    DEPENDS ${source}
    COMMENT "Help file for ${language}")
  set_property(GLOBAL APPEND PROPERTY ORVANE_PACKAGE_OUTPUTS ${output})
endforeach()
install(DIRECTORY ${ORVANE_WINDOWS_FILES_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane/windows)
