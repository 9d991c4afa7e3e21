# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# MTheme, the qtTrId catalogue and AccountServiceMapper: sources of the glyphmorph target and their public headers.
target_sources(glyphmorph PRIVATE
    platform/accountservicemapper.cpp
    platform/mtheme.cpp
    platform/platformtranslations.cpp
    platform/themes/platformthemes.qrc
)
list(APPEND GLYPHMORPH_PLATFORM_PUBLIC_HEADERS
    platform/accountservicemapper.h
    platform/mtheme.h
)

# The engineering English catalogue is compiled at build time and embedded from the build tree.
set(GLYPHMORPH_CATALOGUE glyphmorph_eng_en)
set(GLYPHMORPH_CATALOGUE_TS ${CMAKE_CURRENT_SOURCE_DIR}/platform/translations/${GLYPHMORPH_CATALOGUE}.ts)
set(GLYPHMORPH_CATALOGUE_QM ${CMAKE_CURRENT_BINARY_DIR}/translations/${GLYPHMORPH_CATALOGUE}.qm)
add_custom_command(OUTPUT ${GLYPHMORPH_CATALOGUE_QM}
    COMMAND ${GLYPHMORPH_LRELEASE} -idbased -silent ${GLYPHMORPH_CATALOGUE_TS}
        -qm ${GLYPHMORPH_CATALOGUE_QM}
    DEPENDS ${GLYPHMORPH_CATALOGUE_TS}
    COMMENT "Compiling translation catalogue ${GLYPHMORPH_CATALOGUE}"
    VERBATIM
)
configure_file(platform/translations/glyphmorph_translations.qrc.in
    ${CMAKE_CURRENT_BINARY_DIR}/translations/glyphmorph_translations.qrc @ONLY)
target_sources(glyphmorph PRIVATE
    ${GLYPHMORPH_CATALOGUE_QM}
    ${CMAKE_CURRENT_BINARY_DIR}/translations/glyphmorph_translations.qrc
)
