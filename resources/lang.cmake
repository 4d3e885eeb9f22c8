# Language files: every resources/lang/<Language>.txt becomes <Language>.ln1 in the package; the installer
# helper offers them by name and installs the chosen one as the program's language file.
file(GLOB LANGUAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/lang/*.txt)
foreach(source IN LISTS LANGUAGE_SOURCES)
  get_filename_component(language ${source} NAME_WE)
  set(output ${ORVANE_PACKAGE_DIR}/${language}.ln1)
  add_custom_command(OUTPUT ${output}
    COMMAND gen_lang ${source} ${output}
    DEPENDS gen_lang ${source}
    COMMENT "Language file ${language}.ln1")
  set_property(GLOBAL APPEND PROPERTY ORVANE_PACKAGE_OUTPUTS ${output})
endforeach()
