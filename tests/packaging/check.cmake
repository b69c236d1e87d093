# Installs the build into a scratch prefix, then configures and builds a separate consumer
# project against it, as a host application would.
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
                RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "cmake --install failed")
endif()
# The contract's headers, the base classes its classes derive from, and nothing else.
set(expected DebugLog.h Endpoints.h PGTabBarViewController.h PaymentScreen.h ResultDelegate.h TabBarController.h
    ViewController.h cardViewController.h pelbrook_export.h upiViewController.h
    walletViewController.h netBankingViewController.h)
file(GLOB installed RELATIVE "${WORK_DIR}/prefix/include/pelbrook" "${WORK_DIR}/prefix/include/pelbrook/*")
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed headers: ${installed}\nexpected: ${expected}")
endif()
# Internal types stay out of the installed headers.
foreach(header IN LISTS installed)
    file(READ "${WORK_DIR}/prefix/include/pelbrook/${header}" text)
    foreach(internal BusyOverlay BrowserView FormField NavigationDelegate webViewShouldStartLoad CheckoutContext)
        if(text MATCHES "${internal}")
            message(FATAL_ERROR "pelbrook/${header} names the internal ${internal}")
        endif()
    endforeach()
endforeach()
# The README shows the integration example exactly as it is in examples/minimal/main.cpp.
file(READ "${SOURCE_DIR}/README.md" readme)
file(READ "${SOURCE_DIR}/examples/minimal/main.cpp" minimal)
string(FIND "${readme}" "```cpp\n${minimal}```" shown)
if(shown EQUAL -1)
    message(FATAL_ERROR "README.md does not show examples/minimal/main.cpp as it is")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}/tests/packaging/consumer" -B "${WORK_DIR}/consumer"
                        "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix" "-DMINIMAL_EXAMPLE=${SOURCE_DIR}/examples/minimal/main.cpp"
                RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "the consumer project does not configure against the installed package")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${WORK_DIR}/consumer" --parallel 2 RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "the consumer project does not build against the installed package")
endif()
execute_process(COMMAND "${WORK_DIR}/consumer/consumer" RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(result OR NOT output MATCHES "result=\\[\\]")
    message(FATAL_ERROR "the consumer program failed: ${result} ${output}")
endif()
