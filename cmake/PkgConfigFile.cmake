# The pkg-config file finds the package from where it lies (pkg-config's ${pcfiledir}), so it is
# written once, at configure time, and stays right for `cmake --install --prefix DIR` and for a
# prefix that is moved after installing.
set(PELBROOK_PC_DIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    # A library folder outside the prefix holds the file wherever the prefix is.
    set(PELBROOK_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH up "/prefix/${PELBROOK_PC_DIR}" "/prefix")
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
