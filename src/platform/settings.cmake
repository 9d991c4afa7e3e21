# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# MGConfItem (settings store): sources of the glyphmorph target and their public headers.
target_sources(glyphmorph PRIVATE
    platform/mgconfitem.cpp
    platform/settingsfile.cpp
    platform/settingsfile_p.h
    platform/settingsstore.cpp
    platform/settingsstore_p.h
    platform/settingsdefaults.qrc
)
list(APPEND GLYPHMORPH_PLATFORM_PUBLIC_HEADERS platform/mgconfitem.h)
