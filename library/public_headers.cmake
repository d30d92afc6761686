# SPDX-License-Identifier: MIT
# The public API: the headers under include/tessaro, which a host includes as
# <tessaro/NAME> and the project's own code by the same name. Every other header of the
# tree is internal.
file(GLOB TESSARO_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/tessaro/*.h)
