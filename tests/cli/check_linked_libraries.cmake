# Fails when PROGRAM links any of the libraries in FORBIDDEN (a list of name
# fragments), as ldd lists them; ldd must list REQUIRED, so that a failed
# look-up never passes.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE linked RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ldd ${PROGRAM} failed (${status})")
endif()
foreach(library IN LISTS REQUIRED)
  if(NOT linked MATCHES "${library}")
    message(FATAL_ERROR "${PROGRAM} does not link ${library}:\n${linked}")
  endif()
endforeach()
foreach(library IN LISTS FORBIDDEN)
  if(linked MATCHES "${library}")
    message(FATAL_ERROR "${PROGRAM} links ${library}, which needs a display:\n${linked}")
  endif()
endforeach()
