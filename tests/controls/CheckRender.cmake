# Runs zentaro-render and checks its outcome.
#   EXPECT=size:   ARGS must succeed and OUT be a WIDTH x HEIGHT PNG.
#   EXPECT=error:  ARGS must exit with status 1 and name MESSAGE on stderr.
separate_arguments(args UNIX_COMMAND "${ARGS}")
file(REMOVE ${OUT})
execute_process(COMMAND ${RENDER} ${args} ${OUT}
  RESULT_VARIABLE result ERROR_VARIABLE stderr)

if(EXPECT STREQUAL "error")
  if(NOT result EQUAL 1)
    message(FATAL_ERROR "expected exit status 1, got '${result}'")
  endif()
  string(FIND "${stderr}" "${MESSAGE}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "stderr lacks '${MESSAGE}': ${stderr}")
  endif()
  if(EXISTS ${OUT})
    message(FATAL_ERROR "an image was written despite the error")
  endif()
  return()
endif()

if(NOT result EQUAL 0)
  message(FATAL_ERROR "zentaro-render exited with '${result}': ${stderr}")
endif()
# The PNG header's IHDR holds width and height as big-endian 32-bit numbers at byte 16.
file(READ ${OUT} header OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING "${header}" 0 8 w)
string(SUBSTRING "${header}" 8 8 h)
math(EXPR w "0x${w}")
math(EXPR h "0x${h}")
if(NOT w EQUAL WIDTH OR NOT h EQUAL HEIGHT)
  message(FATAL_ERROR "expected ${WIDTH} x ${HEIGHT}, got ${w} x ${h}")
endif()
