execute_process(COMMAND ${SIM} run ${SCRIPT} --out ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "rowtint-sim failed")
endif()
