# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of ThemeTableModel.
glyphmorph_add_test(themetablemodeltest SOURCES themetablemodeltest.cpp)
