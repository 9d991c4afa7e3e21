# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# The glyphmorph command-line tool, run as a user runs it.
if(TARGET glyphmorph-tool)
    glyphmorph_add_test(glyphmorphtooltest SOURCES glyphmorphtooltest.cpp themedirectory.h)
    target_compile_definitions(glyphmorphtooltest PRIVATE
        GLYPHMORPH_TOOL_PATH="$<TARGET_FILE:glyphmorph-tool>")
    add_dependencies(glyphmorphtooltest glyphmorph-tool)
endif()
