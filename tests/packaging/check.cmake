cmake_policy(VERSION 3.25)

# Installs the build into a scratch prefix, then configures and builds a separate consumer
# project against it, as a host application would: with CMake, with pkg-config, and as a Qt
# Quick application.
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
# The library alone, as a host installs it: no sandbox.
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}" --component library
                RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "cmake --install --component library failed")
endif()
file(GLOB_RECURSE programs "${prefix}/bin/*")
if(programs)
    message(FATAL_ERROR "the library component installed programs: ${programs}")
endif()
# The build's list of installed headers, and nothing else.
string(REPLACE "," ";" expected "${INSTALLED_HEADERS}")
if(NOT expected MATCHES "PGTabBarViewController.h")
    message(FATAL_ERROR "the test was not given the installed headers: '${INSTALLED_HEADERS}'")
endif()
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

# A host that builds with pkg-config, from a copy of the prefix somewhere else: the file finds
# the package from where it lies.
set(moved "${WORK_DIR}/moved")
file(COPY "${prefix}/" DESTINATION "${moved}")
file(GLOB_RECURSE pc_files "${moved}/*/pelbrook-checkout.pc")
list(LENGTH pc_files pc_count)
if(NOT pc_count EQUAL 1)
    message(FATAL_ERROR "expected one pelbrook-checkout.pc under ${moved}, found: ${pc_files}")
endif()
get_filename_component(pc_dir "${pc_files}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} "${pc_dir}")
execute_process(COMMAND pkg-config --variable=prefix pelbrook-checkout OUTPUT_VARIABLE pc_prefix OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(pc_prefix "${pc_prefix}" ABSOLUTE)
if(NOT pc_prefix STREQUAL moved)
    message(FATAL_ERROR "pelbrook-checkout.pc's prefix is ${pc_prefix}, the package lies in ${moved}")
endif()
execute_process(COMMAND pkg-config --variable=includedir pelbrook-checkout OUTPUT_VARIABLE pc_include OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS "${pc_include}/pelbrook/PGTabBarViewController.h")
    message(FATAL_ERROR "pelbrook-checkout.pc's includedir ${pc_include} holds no headers")
endif()
execute_process(COMMAND pkg-config --cflags --libs pelbrook-checkout
                RESULT_VARIABLE result OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
if(result)
    message(FATAL_ERROR "pkg-config does not find pelbrook-checkout")
endif()
execute_process(COMMAND pkg-config --variable=libdir pelbrook-checkout OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(flags UNIX_COMMAND "${flags}")
foreach(program consumer minimal)
    if(program STREQUAL "minimal")
        set(source "${SOURCE_DIR}/examples/minimal/main.cpp")
    else()
        set(source "${SOURCE_DIR}/tests/packaging/consumer/main.cpp")
    endif()
    execute_process(COMMAND c++ -std=c++20 -fPIC "${source}" ${flags} "-Wl,-rpath,${libdir}"
                            -o "${WORK_DIR}/${program}-pkgconfig"
                    RESULT_VARIABLE result ERROR_VARIABLE errors)
    if(result)
        message(FATAL_ERROR "${program} does not build with pkg-config's flags:\n${errors}")
    endif()
endforeach()
execute_process(COMMAND "${WORK_DIR}/consumer-pkgconfig" RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(result OR NOT output MATCHES "result=\\[\\]")
    message(FATAL_ERROR "the consumer built with pkg-config failed: ${result} ${output}")
endif()

# A Qt Quick application finds the installed module through its import path, and presents and
# closes a checkout with it.
if(WITH_QML)
    file(GLOB_RECURSE qmldirs "${prefix}/qmldir")
    list(FILTER qmldirs INCLUDE REGEX "/Pelbrook/Checkout/qmldir$")
    if(NOT qmldirs)
        message(FATAL_ERROR "the module Pelbrook.Checkout is not installed under ${prefix}")
    endif()
    get_filename_component(qml_dir "${qmldirs}/../../.." ABSOLUTE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "QML_IMPORT_PATH=${qml_dir}"
                            "${WORK_DIR}/consumer/quick_consumer"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(result OR NOT output MATCHES "orderId=ORD9 presented=true dismissed=true")
        message(FATAL_ERROR "the Qt Quick consumer failed: ${result} ${output} ${errors}")
    endif()
endif()

# The sandbox is a component of its own.
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}" --component sandbox
                RESULT_VARIABLE result)
execute_process(COMMAND "${prefix}/bin/pelbrook-sandbox" --help RESULT_VARIABLE help OUTPUT_QUIET)
if(result OR help)
    message(FATAL_ERROR "the sandbox component does not install a working pelbrook-sandbox")
endif()
