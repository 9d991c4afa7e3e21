# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of the emoticon selector: widget, view, dialog and registration.
glyphmorph_add_test(emoticonselectortest SOURCES emoticonselectortest.cpp selectortest.qrc)
# Themes changing under the running registry and picker, in random order.
glyphmorph_add_test(themechurntest SOURCES themechurntest.cpp themedirectory.h)
