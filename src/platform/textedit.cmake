# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# MTextEdit: sources of the glyphmorph target and their public headers.
target_sources(glyphmorph PRIVATE platform/mtextedit.cpp)
list(APPEND GLYPHMORPH_PLATFORM_PUBLIC_HEADERS platform/mtextedit.h)
