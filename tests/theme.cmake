# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of MTheme, the qtTrId catalogue and AccountServiceMapper.
glyphmorph_add_test(mthemetest SOURCES mthemetest.cpp)
glyphmorph_add_test(accountservicemappertest SOURCES accountservicemappertest.cpp)

glyphmorph_add_test(platformtranslationstest SOURCES platformtranslationstest.cpp)
target_compile_definitions(platformtranslationstest PRIVATE
    GLYPHMORPH_CATALOGUE_SOURCE="${PROJECT_SOURCE_DIR}/src/platform/translations/glyphmorph_eng_en.ts")
# The test uses no symbol of the library, only its being loaded; keep the linker from dropping it.
target_link_options(platformtranslationstest PRIVATE LINKER:--no-as-needed)
