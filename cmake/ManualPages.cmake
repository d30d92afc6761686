# SPDX-License-Identifier: MIT
# Manual pages made from the programs themselves: help2man runs each program's --help and
# --version, so a page says what the program says and cannot drift from it. The pages go
# to man/man1/ in the build folder (MANPATH=build/man man tessaro-play reads them there).
option(TESSARO_MANUAL_PAGES "Make the manual pages from each program's --help (help2man)" ON)
if(TESSARO_SANITIZE OR TESSARO_FUZZ)
    # The instrumented builds check the code; the pages come from the plain build.
    set(TESSARO_MANUAL_PAGES OFF)
endif()
if(TESSARO_MANUAL_PAGES)
    find_program(TESSARO_HELP2MAN help2man REQUIRED)
endif()
set(TESSARO_MANUAL_DIR ${PROJECT_BINARY_DIR}/man/man1)

# tessaro_add_manual_page(NAME PROGRAM COMPONENT component [DEPENDS targets...]
#                         [ENVIRONMENT VAR=VALUE...]): NAME.1 from PROGRAM (a target or a
# file), installed with the component.
function(tessaro_add_manual_page name program)
    if(NOT TESSARO_MANUAL_PAGES)
        return()
    endif()
    cmake_parse_arguments(ARG "" "COMPONENT" "DEPENDS;ENVIRONMENT" ${ARGN})
    set(executable ${program})
    if(TARGET ${program})
        set(executable $<TARGET_FILE:${program}>)
    endif()
    set(page ${TESSARO_MANUAL_DIR}/${name}.1)
    set(script ${PROJECT_SOURCE_DIR}/cmake/manual_page.cmake)
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E env ${ARG_ENVIRONMENT}
                ${CMAKE_COMMAND} -DHELP2MAN=${TESSARO_HELP2MAN} -DPROGRAM=${executable}
                                 -DPAGE=${page} -P ${script}
        DEPENDS ${program} ${ARG_DEPENDS} ${script}
        COMMENT "Manual page ${name}.1 from ${name} --help"
        VERBATIM)
    add_custom_target(${name}_manual_page ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${ARG_COMPONENT})
endfunction()
