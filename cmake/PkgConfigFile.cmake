# The pkg-config file names the prefix the package is installed to, which is known only at
# install time: `cmake --install build --prefix DIR` chooses it after configuring. So the file
# is written by the install step itself, from the prefix it installs to.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(PELBROOK_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
    set(PELBROOK_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
    set(PELBROOK_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
    set(PELBROOK_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
# Everything but the prefix is filled in now (the prefix's placeholder is kept as it is); the
# install step fills in the prefix.
set(PELBROOK_INSTALL_PREFIX "@PELBROOK_INSTALL_PREFIX@")
configure_file(cmake/pelbrook-checkout.pc.in "${CMAKE_CURRENT_BINARY_DIR}/pelbrook-checkout.pc.in" @ONLY)
set(PELBROOK_PC_FILE "${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/pelbrook-checkout.pc")
install(CODE "
    file(READ \"${CMAKE_CURRENT_BINARY_DIR}/pelbrook-checkout.pc.in\" pc)
    string(REPLACE \"@PELBROOK_INSTALL_PREFIX@\" \"\${CMAKE_INSTALL_PREFIX}\" pc \"\${pc}\")
    file(WRITE \"${PELBROOK_PC_FILE}\" \"\${pc}\")
" COMPONENT library)
install(FILES "${PELBROOK_PC_FILE}" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT library)
