# The button library KRBtnLib.dll: artwork drawn by tools/gen_btnlib, packed by rcc into a binary resource
# file (uncompressed, so a skin author's tools can read it too). Its layout is an interface: /BITMAP/<NAME>.bmp,
# /POINTS/<SHAPE>, /STRINGS/BTNLIST and /STRINGS/LABELLIST.
set(BTNLIB_WORK ${CMAKE_CURRENT_BINARY_DIR}/btnlib)
add_custom_command(OUTPUT ${ORVANE_PACKAGE_DIR}/KRBtnLib.dll
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${BTNLIB_WORK}
  COMMAND gen_btnlib ${BTNLIB_WORK}
  COMMAND Qt6::rcc -binary -no-compress ${BTNLIB_WORK}/btnlib.qrc -o ${ORVANE_PACKAGE_DIR}/KRBtnLib.dll
  DEPENDS gen_btnlib
  COMMENT "Drawing the button library"
  VERBATIM)

# The help library only has to be present; it carries the help page so that it is not empty.
set(HELPLIB_WORK ${CMAKE_CURRENT_BINARY_DIR}/helplib)
file(MAKE_DIRECTORY ${HELPLIB_WORK})
file(WRITE ${HELPLIB_WORK}/helplib.qrc
  "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n"
  "  <file alias=\"HTML/ORVANE\">${CMAKE_CURRENT_SOURCE_DIR}/help/English.htm</file>\n"
  "</qresource>\n</RCC>\n")
add_custom_command(OUTPUT ${ORVANE_PACKAGE_DIR}/KRHelpLib.dll
  COMMAND Qt6::rcc -binary -no-compress ${HELPLIB_WORK}/helplib.qrc -o ${ORVANE_PACKAGE_DIR}/KRHelpLib.dll
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/help/English.htm ${HELPLIB_WORK}/helplib.qrc
  VERBATIM)

set_property(GLOBAL APPEND PROPERTY ORVANE_PACKAGE_OUTPUTS
  ${ORVANE_PACKAGE_DIR}/KRBtnLib.dll ${ORVANE_PACKAGE_DIR}/KRHelpLib.dll)

# The two libraries alone, for the tests that read them.
add_custom_target(btnlib_files DEPENDS ${ORVANE_PACKAGE_DIR}/KRBtnLib.dll ${ORVANE_PACKAGE_DIR}/KRHelpLib.dll)
