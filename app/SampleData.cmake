# cmake -DCLI=... -DDATA_FILE=... -DUPDATES=a;b;c -P SampleData.cmake
# Imports the update files in order into a new data file, unless DATA_FILE exists.
if(EXISTS "${DATA_FILE}")
  return()
endif()

get_filename_component(folder "${DATA_FILE}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
set(partial "${DATA_FILE}.partial")
file(REMOVE "${partial}")
foreach(update IN LISTS UPDATES)
  execute_process(
    COMMAND "${CLI}" --decimal-separator . import "${partial}" "${update}"
    RESULT_VARIABLE status
    OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    file(REMOVE "${partial}")
    message(FATAL_ERROR "zentaro-cli import ${update} failed (${status})")
  endif()
endforeach()
file(RENAME "${partial}" "${DATA_FILE}")
