# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of DefaultEmoticonThemeHandler.
glyphmorph_add_test(defaultemoticonthemehandlertest SOURCES defaultemoticonthemehandlertest.cpp)
target_compile_definitions(defaultemoticonthemehandlertest PRIVATE
    SETTINGSWRITER="$<TARGET_FILE:settingswriter>")
add_dependencies(defaultemoticonthemehandlertest settingswriter)
