# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# ThemeTableModel: an item model over a list of themes.
target_sources(glyphmorph PRIVATE
    discovery/themetablemodel.cpp
)
list(APPEND GLYPHMORPH_DISCOVERY_PUBLIC_HEADERS discovery/themetablemodel.h)
