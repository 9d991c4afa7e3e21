# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of MTextEdit.
glyphmorph_add_test(mtextedittest SOURCES mtextedittest.cpp)
