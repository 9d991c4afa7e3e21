# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of the platform's windows, widgets, layouts and stylesheets.
glyphmorph_add_test(mstylesheettest SOURCES mstylesheettest.cpp)
glyphmorph_add_test(platformwidgetstest SOURCES platformwidgetstest.cpp)
