# Installs the build into a scratch prefix, then configures and builds a separate consumer
# project against it, as a host application would.
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
                RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "cmake --install failed")
endif()
foreach(header PGTabBarViewController ResultDelegate Endpoints DebugLog)
    if(NOT EXISTS "${WORK_DIR}/prefix/include/pelbrook/${header}.h")
        message(FATAL_ERROR "missing installed header pelbrook/${header}.h")
    endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}/tests/packaging/consumer" -B "${WORK_DIR}/consumer"
                        "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix"
                RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "the consumer project does not configure against the installed package")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${WORK_DIR}/consumer" RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "the consumer project does not build against the installed package")
endif()
execute_process(COMMAND "${WORK_DIR}/consumer/consumer" RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(result OR NOT output MATCHES "result=\\[\\]")
    message(FATAL_ERROR "the consumer program failed: ${result} ${output}")
endif()
