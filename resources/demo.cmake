# Ready-made demo devices with learned IR codes, and the configuration that shows them, so a first start has
# something to tap. Written by tools/gen_demo with the program's own model and writers.
set(DEMO_OUTPUTS
  ${ORVANE_PACKAGE_DIR}/Devices/TV.kdr
  ${ORVANE_PACKAGE_DIR}/Devices/Player.kdr
  "${ORVANE_PACKAGE_DIR}/Devices/My Amp.kdr"
  ${ORVANE_PACKAGE_DIR}/Orvane.cfg)
add_custom_command(OUTPUT ${DEMO_OUTPUTS}
  COMMAND gen_demo ${ORVANE_PACKAGE_DIR}
  DEPENDS gen_demo
  COMMENT "Writing the demo devices"
  VERBATIM)
set_property(GLOBAL APPEND PROPERTY ORVANE_PACKAGE_OUTPUTS ${DEMO_OUTPUTS})

# The demo devices alone, for the tests that read them.
add_custom_target(demo_files DEPENDS ${DEMO_OUTPUTS})
