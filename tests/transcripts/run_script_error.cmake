# A script line that is no valid command must end the run with status 2 and
# one line on standard error that names the line.
#   cmake -DRUNNER=<zorlo-script> -DSCRIPT=<file> -DLINE=<number> -DWORK=<folder>
#         -P run_script_error.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(
  COMMAND "${RUNNER}" "${WORK}"
  INPUT_FILE "${SCRIPT}"
  OUTPUT_VARIABLE printed
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "expected exit status 2, got ${status}")
endif()
string(REGEX MATCHALL "\n" breaks "${errors}")
list(LENGTH breaks lines)
if(NOT lines EQUAL 1)
  message(FATAL_ERROR "expected one line on standard error, got: ${errors}")
endif()
if(NOT errors MATCHES "line ${LINE}[^0-9]")
  message(FATAL_ERROR "standard error does not name line ${LINE}: ${errors}")
endif()
# The lines before the bad one were played: the console started.
if(NOT printed MATCHES "\"event\":\"show\"")
  message(FATAL_ERROR "the lines before the bad one were not played: ${printed}")
endif()
