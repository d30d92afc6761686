# SPDX-License-Identifier: MIT
# The public API: the headers a host includes as <tessaro/NAME>, NAME being the file's own
# name. They include one another by those names too. The build makes the names available
# to the project's own code as links under build/include/tessaro, so the same lines work
# in the tree and installed; the install puts the files themselves under include/tessaro.
# Every other header of the tree is internal.
set(TESSARO_PUBLIC_HEADERS
    library/export.h
    library/version.h
    platform/values/error.h
    platform/values/variant.h
    platform/catalogue/catalogue.h
    platform/media/command_service.h
    platform/host/host_container.h
    platform/host/picture.h
    platform/host/property_bag.h
    platform/host/module_folder.h
    control/kavo_video_sync.h
    platform/qt/kavo_video_sync_widget.h
    platform/qt/message_presenter.h
    platform/qt/qsettings_property_bag.h)
list(TRANSFORM TESSARO_PUBLIC_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/)

set(TESSARO_BUILD_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include/tessaro)
file(REMOVE_RECURSE ${TESSARO_BUILD_INCLUDE_DIR})
file(MAKE_DIRECTORY ${TESSARO_BUILD_INCLUDE_DIR})
foreach(header ${TESSARO_PUBLIC_HEADERS})
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${TESSARO_BUILD_INCLUDE_DIR}/${name} SYMBOLIC)
endforeach()
