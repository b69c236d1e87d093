# The pkg-config file finds the package from where it lies (pkg-config's ${pcfiledir}), so it is
# written once, at configure time, and stays right for `cmake --install --prefix DIR` and for a
# prefix that is moved after installing.
#
# Two installs name their prefix as it is instead. The system's own (/usr), which is not moved:
# pkg-config leaves out the system's folders only when they are spelt as such, and a -L of
# /usr/lib ahead of a host's own Qt would link the system's Qt instead. And one whose library
# folder is absolute: its file lies outside the prefix, so the configured prefix is the one it
# names, whatever `--prefix` the install is given.
set(PELBROOK_PC_DIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(PELBROOK_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH up "/prefix/${PELBROOK_PC_DIR}" "/prefix")
    string(REGEX REPLACE "/$" "" up "${up}")
    set(PELBROOK_PC_PREFIX "\${pcfiledir}/${up}")
endif()
foreach(kind LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
        set(PELBROOK_PC_${kind} "${CMAKE_INSTALL_${kind}}")
    else()
        set(PELBROOK_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
    endif()
endforeach()
configure_file(cmake/pelbrook-checkout.pc.in "${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/pelbrook-checkout.pc" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/pelbrook-checkout.pc" DESTINATION ${PELBROOK_PC_DIR} COMPONENT library)
