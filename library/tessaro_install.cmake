# What `cmake --install` puts under the prefix, all in the component "tessaro":
#   lib/libTessaro.so, include/tessaro/<project layout>/*.h,
#   lib/cmake/Tessaro/ (find_package(Tessaro) -> Tessaro::Tessaro), lib/pkgconfig/tessaro.pc,
#   and the Designer plugin in Qt's plugin folder below the prefix (<plugins>/designer).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TESSARO_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/tessaro)
set(TESSARO_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tessaro)
set(TESSARO_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

target_include_directories(Tessaro INTERFACE $<INSTALL_INTERFACE:${TESSARO_INCLUDE_DIR}>)
install(TARGETS Tessaro EXPORT TessaroTargets COMPONENT tessaro
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The headers a host includes, with everything they include, kept in the project's layout
# so that the same #include lines work in the tree and installed.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/control/ COMPONENT tessaro
        DESTINATION ${TESSARO_INCLUDE_DIR}/control FILES_MATCHING PATTERN "*.h")
foreach(header
        platform/values/error.h platform/values/variant.h
        platform/catalogue/catalogue.h
        platform/host/host_container.h platform/host/module_folder.h platform/host/picture.h
        platform/host/property_bag.h
        platform/media/command_service.h platform/media/interpreter.h
        platform/media/player_backend.h platform/media/video_surface.h
        platform/media/gst/gst_backend.h
        platform/paths/paths.h
        platform/qt/kavo_video_sync_widget.h platform/qt/message_presenter.h
        platform/qt/qsettings_property_bag.h)
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${header} COMPONENT tessaro
            DESTINATION ${TESSARO_INCLUDE_DIR}/${folder})
endforeach()

install(EXPORT TessaroTargets NAMESPACE Tessaro:: COMPONENT tessaro
        DESTINATION ${TESSARO_CONFIG_DIR})
configure_package_config_file(TessaroConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/TessaroConfig.cmake
                              INSTALL_DESTINATION ${TESSARO_CONFIG_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TessaroConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TessaroConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TessaroConfigVersion.cmake
        COMPONENT tessaro DESTINATION ${TESSARO_CONFIG_DIR})

# The .pc file finds the prefix from its own place, so the tree can be moved.
file(RELATIVE_PATH TESSARO_PC_TO_PREFIX /prefix/${TESSARO_PKGCONFIG_DIR} /prefix)
configure_file(tessaro.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tessaro.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tessaro.pc COMPONENT tessaro
        DESTINATION ${TESSARO_PKGCONFIG_DIR})

if(TARGET tessaro_designer)
    set(designer_dir ${QT6_INSTALL_PLUGINS}/designer)
    file(RELATIVE_PATH plugin_to_lib /prefix/${designer_dir} /prefix/${CMAKE_INSTALL_LIBDIR})
    set_target_properties(tessaro_designer PROPERTIES INSTALL_RPATH "$ORIGIN/${plugin_to_lib}")
    install(TARGETS tessaro_designer COMPONENT tessaro LIBRARY DESTINATION ${designer_dir})
endif()
