# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of DefaultEmoticonThemeHandler.

# The second process that switches the platform theme under the test.
add_executable(themeswitcher themeswitcher.cpp)
target_link_libraries(themeswitcher PRIVATE glyphmorph)

glyphmorph_add_test(defaultemoticonthemehandlertest SOURCES defaultemoticonthemehandlertest.cpp)
target_compile_definitions(defaultemoticonthemehandlertest PRIVATE
    THEMESWITCHER="$<TARGET_FILE:themeswitcher>")
add_dependencies(defaultemoticonthemehandlertest themeswitcher)
