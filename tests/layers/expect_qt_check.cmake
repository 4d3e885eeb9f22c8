# Configures tests/layers/qt_free with REACH_QT set as given and requires the Qt check to fail, naming the
# whole chain, exactly when core reaches Qt.
set(build ${WORK_DIR}/qt_free_${REACH_QT})
file(REMOVE_RECURSE ${build})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${build} -G Ninja -DREACH_QT=${REACH_QT}
  -DORVANE_CMAKE_DIR=${ORVANE_CMAKE_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${errors}")
string(REGEX REPLACE "[ \n]+" " " errors "${errors}")
if(REACH_QT)
  if(result EQUAL 0)
    message(FATAL_ERROR "core reaches Qt, yet the configure passed")
  endif()
  if(NOT errors MATCHES "core must stay free of Qt, but links it: core -> middle -> shell -> Qt6::Widgets")
    message(FATAL_ERROR "the configure failed without naming core's chain to Qt")
  endif()
elseif(NOT result EQUAL 0)
  message(FATAL_ERROR "core does not reach Qt, yet the configure failed")
endif()
