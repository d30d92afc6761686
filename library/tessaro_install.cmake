# SPDX-License-Identifier: MIT
# What `cmake --install` puts under the prefix, by component (one Debian package each):
#   library:     lib/<multiarch>/libTessaro.so.0 and libTessaro.so.0.x.y
#   development: lib/<multiarch>/libTessaro.so, include/tessaro/*.h (the public headers),
#                lib/<multiarch>/cmake/Tessaro/ (find_package(Tessaro) -> Tessaro::Tessaro),
#                lib/<multiarch>/pkgconfig/tessaro.pc
#   designer:    the Designer plugin in Qt's plugin folder below the prefix (<plugins>/designer)
#   tools:       every tool, by its own install() rule (tools/)
#   mendrick:    the updater with the control library beside it (updater/)
include(CMakePackageConfigHelpers)

set(TESSARO_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tessaro)
set(TESSARO_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# tessaro_find_installed_library(TARGET INSTALL_DIR): an installed program or plugin that
# links libTessaro finds it from INSTALL_DIR (relative to the prefix), wherever the prefix
# is; under a prefix whose library folder the system searches anyway (/usr) it needs no
# run path.
function(tessaro_find_installed_library target install_dir)
    if(NOT CMAKE_INSTALL_FULL_LIBDIR IN_LIST CMAKE_PLATFORM_IMPLICIT_LINK_DIRECTORIES)
        file(RELATIVE_PATH to_library /prefix/${install_dir} /prefix/${CMAKE_INSTALL_LIBDIR})
        set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${to_library}")
    endif()
endfunction()

target_include_directories(Tessaro INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
set_target_properties(Tessaro PROPERTIES SPDX_LICENSE MIT EXPORT_PROPERTIES SPDX_LICENSE)
install(TARGETS Tessaro EXPORT TessaroTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library
                NAMELINK_COMPONENT development)
install(FILES ${TESSARO_PUBLIC_HEADERS} COMPONENT development
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tessaro)

install(EXPORT TessaroTargets NAMESPACE Tessaro:: COMPONENT development
        DESTINATION ${TESSARO_CONFIG_DIR})
configure_package_config_file(TessaroConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/TessaroConfig.cmake
                              INSTALL_DESTINATION ${TESSARO_CONFIG_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TessaroConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TessaroConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TessaroConfigVersion.cmake
        COMPONENT development DESTINATION ${TESSARO_CONFIG_DIR})

# The .pc file finds the prefix from its own place, so the tree can be moved.
file(RELATIVE_PATH TESSARO_PC_TO_PREFIX /prefix/${TESSARO_PKGCONFIG_DIR} /prefix)
configure_file(tessaro.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tessaro.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tessaro.pc COMPONENT development
        DESTINATION ${TESSARO_PKGCONFIG_DIR})

set(designer_dir ${QT6_INSTALL_PLUGINS}/designer)
tessaro_find_installed_library(tessaro_designer ${designer_dir})
install(TARGETS tessaro_designer COMPONENT designer LIBRARY DESTINATION ${designer_dir})
