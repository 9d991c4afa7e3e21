# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of the discovery pipeline and the theme registry.
glyphmorph_add_test(emoticonthemedirectorywatchertest SOURCES emoticonthemedirectorywatchertest.cpp)
glyphmorph_add_test(themediscoverytest SOURCES themediscoverytest.cpp themedirectory.h)
glyphmorph_add_test(emoticonthememanagertest SOURCES emoticonthememanagertest.cpp themedirectory.h)
target_compile_definitions(emoticonthememanagertest PRIVATE
    SETTINGSWRITER="$<TARGET_FILE:settingswriter>")
add_dependencies(emoticonthememanagertest settingswriter)
