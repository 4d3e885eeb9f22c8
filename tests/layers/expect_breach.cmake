# Runs the layer check over the fixture tree, whose one driver file includes the program's model, and
# requires that exactly this breach is reported and the check fails.
execute_process(COMMAND ${CHECK_LAYERS} ${FIXTURE} ${RULES} RESULT_VARIABLE result OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
message("${output}${errors}")
if(NOT result EQUAL 1)
  message(FATAL_ERROR "the check ended with ${result}, not 1")
endif()
if(NOT output MATCHES "driver/irdriver/upward.cpp:4: includes app/model/model.h \\(app/model\\), but driver")
  message(FATAL_ERROR "the driver's include of the model is not reported")
endif()
if(output MATCHES "allowed.cpp")
  message(FATAL_ERROR "an include the driver's layer allows is reported")
endif()
if(NOT output MATCHES "5 files checked, 1 include")
  message(FATAL_ERROR "not every fixture file was checked, or more than one breach was reported")
endif()
