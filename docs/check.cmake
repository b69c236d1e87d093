# Runs Doxygen on a configured Doxyfile and fails when it warned (an undocumented public class,
# function or parameter, a broken reference) or wrote no HTML main page.
#
#   cmake -DDOXYGEN_EXECUTABLE=/usr/bin/doxygen -DDOXYFILE=.../Doxyfile.check
#         -DOUTPUT_DIR=<the Doxyfile's OUTPUT_DIRECTORY> -P check.cmake
#
# OUTPUT_DIR is emptied first, so a page or a log left from an earlier run cannot pass for this
# one's.
foreach(variable DOXYGEN_EXECUTABLE DOXYFILE OUTPUT_DIR)
    if(NOT ${variable})
        message(FATAL_ERROR "check.cmake: ${variable} is not set")
    endif()
endforeach()
if(NOT EXISTS "${DOXYFILE}")
    message(FATAL_ERROR "check.cmake: no Doxyfile at ${DOXYFILE}")
endif()

file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
execute_process(COMMAND "${DOXYGEN_EXECUTABLE}" "${DOXYFILE}"
                WORKING_DIRECTORY "${OUTPUT_DIR}"
                RESULT_VARIABLE result
                OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "doxygen failed (${result}):\n${output}")
endif()

set(log "${OUTPUT_DIR}/doxygen-warnings.log")
if(NOT EXISTS "${log}")
    message(FATAL_ERROR "doxygen wrote no warning log (${log}): is WARN_LOGFILE set?")
endif()
file(READ "${log}" warnings)
string(STRIP "${warnings}" warnings)
if(NOT warnings STREQUAL "")
    message(FATAL_ERROR "doxygen warnings:\n${warnings}")
endif()
# Anything doxygen printed despite QUIET is a warning that missed the log.
string(STRIP "${output}" output)
if(NOT output STREQUAL "")
    message(FATAL_ERROR "doxygen printed:\n${output}")
endif()
if(NOT EXISTS "${OUTPUT_DIR}/html/index.html")
    message(FATAL_ERROR "doxygen wrote no ${OUTPUT_DIR}/html/index.html")
endif()
message(STATUS "documentation built without warnings: ${OUTPUT_DIR}/html/index.html")
