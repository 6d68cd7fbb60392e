# Runs rowtint-sim on a script and checks that every line of the .expect
# file beside it appears in what the program printed.
execute_process(COMMAND ${SIM} run ${SCRIPT} --out ${OUT}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "rowtint-sim exited with ${rc}: ${errors}")
endif()
string(REGEX REPLACE "\\.txt$" ".expect" expect_file "${SCRIPT}")
file(STRINGS "${expect_file}" expected)
foreach(line IN LISTS expected)
  string(FIND "${output}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the output: ${line}\n--- output ---\n${output}")
  endif()
endforeach()
