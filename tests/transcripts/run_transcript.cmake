# Plays one script with zorlo-script in a fresh folder and compares what it
# prints with the expected transcript.
#   cmake -DRUNNER=<zorlo-script> -DDIR=<scripts folder> -DNAME=<script name>
#         -DWORK=<scratch folder> -P run_transcript.cmake
# Optional beside NAME.jsonl: NAME.setup/ (files copied into the folder first),
# NAME.after/ (files the folder must then hold, byte for byte) and NAME.absent
# (names of files the folder must not hold, one a line).
set(folder "${WORK}/folder")
set(actual "${WORK}/${NAME}.actual.jsonl")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${folder}")
if(IS_DIRECTORY "${DIR}/${NAME}.setup")
  file(COPY "${DIR}/${NAME}.setup/" DESTINATION "${folder}")
endif()

execute_process(
  COMMAND "${RUNNER}" "${folder}"
  INPUT_FILE "${DIR}/${NAME}.jsonl"
  OUTPUT_FILE "${actual}"
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zorlo-script ended with status ${status}: ${errors}")
endif()

set(failures "")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E compare_files "${DIR}/${NAME}.expected.jsonl" "${actual}"
  RESULT_VARIABLE differs)
if(differs)
  find_program(DIFF diff)
  if(DIFF)
    execute_process(COMMAND "${DIFF}" -u "${DIR}/${NAME}.expected.jsonl" "${actual}"
                    OUTPUT_VARIABLE shown)
  else()
    file(READ "${actual}" shown)
  endif()
  string(APPEND failures "the transcript differs from ${NAME}.expected.jsonl:\n${shown}\n")
endif()

if(IS_DIRECTORY "${DIR}/${NAME}.after")
  file(GLOB_RECURSE expectedFiles RELATIVE "${DIR}/${NAME}.after" "${DIR}/${NAME}.after/*")
  foreach(f IN LISTS expectedFiles)
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -E compare_files "${DIR}/${NAME}.after/${f}" "${folder}/${f}"
      RESULT_VARIABLE fileDiffers)
    if(fileDiffers)
      string(APPEND failures "the folder's ${f} differs from ${NAME}.after/${f}\n")
    endif()
  endforeach()
endif()

if(EXISTS "${DIR}/${NAME}.absent")
  file(STRINGS "${DIR}/${NAME}.absent" absentFiles)
  foreach(f IN LISTS absentFiles)
    if(EXISTS "${folder}/${f}")
      string(APPEND failures "the folder holds ${f}, which it must not\n")
    endif()
  endforeach()
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
