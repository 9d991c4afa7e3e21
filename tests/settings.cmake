# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of MGConfItem (settings store).

# The second process of the cross-process tests.
add_executable(settingswriter settingswriter.cpp)
target_link_libraries(settingswriter PRIVATE glyphmorph)

glyphmorph_add_test(mgconfitemtest SOURCES mgconfitemtest.cpp)
target_compile_definitions(mgconfitemtest PRIVATE SETTINGSWRITER="$<TARGET_FILE:settingswriter>")
add_dependencies(mgconfitemtest settingswriter)
