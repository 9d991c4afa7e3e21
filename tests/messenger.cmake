# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# The demo messenger, started as a script starts it.
if(TARGET glyphmorph-messenger)
    glyphmorph_add_test(messengertest SOURCES messengertest.cpp)
    target_compile_definitions(messengertest PRIVATE
        GLYPHMORPH_MESSENGER_PATH="$<TARGET_FILE:glyphmorph-messenger>")
    add_dependencies(messengertest glyphmorph-messenger)
endif()
