# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# DefaultEmoticonThemeHandler: publishes the built-in theme and keeps its image cache.
target_sources(glyphmorph PRIVATE
    discovery/defaultemoticonthemehandler.cpp
)
list(APPEND GLYPHMORPH_DISCOVERY_PUBLIC_HEADERS discovery/defaultemoticonthemehandler.h)
