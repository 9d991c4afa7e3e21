# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Arrows point down: the conversion engines include nothing of theme discovery or of the facade
# above them. Run as: cmake -DSOURCE_DIR=<src> -P layering.cmake
file(GLOB above RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/discovery/*.h ${SOURCE_DIR}/facade/*.h)
file(GLOB engines ${SOURCE_DIR}/transform/*)
set(faults "")
foreach(header IN LISTS above)
    get_filename_component(name ${header} NAME)
    foreach(source IN LISTS engines)
        file(STRINGS ${source} includes REGEX "^#include [<\"]${name}[>\"]")
        if(includes)
            string(APPEND faults "\n  ${source} includes ${header}")
        endif()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "src/transform reaches above itself:${faults}")
endif()
