# SPDX-License-Identifier: MIT
# cmake -DHELP2MAN=help2man -DPROGRAM=program -DPAGE=out.1 -P manual_page.cmake
# Writes PROGRAM's manual page with help2man. The NAME line is the one-line summary that
# follows the usage lines of PROGRAM --help, so the help is the page's only source.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
string(REGEX MATCH "\n[^ \n][^\n]*" summary "${help}")
string(REGEX REPLACE "^\n(.)(.*)\\.$" "\\1;\\2" summary "${summary}")
list(GET summary 0 first)
list(GET summary 1 rest)
string(TOLOWER "${first}" first)
execute_process(
    COMMAND ${HELP2MAN} --no-info --section=1 --name=${first}${rest} --output=${PAGE} ${PROGRAM}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "help2man ${PROGRAM} failed (${status})")
endif()
