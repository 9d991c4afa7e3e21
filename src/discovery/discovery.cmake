# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# The discovery pipeline and the theme registry.
target_sources(glyphmorph PRIVATE
    discovery/emoticonthemedirectorywatcher.cpp
    discovery/emoticonthemeresourceavailabilitychecker.cpp
    discovery/emoticonthemeresourceavailabilitychecker_p.h
    discovery/sharedfilesystemwatch.cpp
    discovery/sharedfilesystemwatch_p.h
    discovery/emoticonthemevalidationchecker.cpp
    discovery/emoticonthemeinspector.cpp
    discovery/emoticonthemeinspector_p.h
    discovery/emoticonthememanager.cpp
    discovery/sharedthememanager_p.h
)
list(APPEND GLYPHMORPH_DISCOVERY_PUBLIC_HEADERS
    discovery/emoticonthemedirectorywatcher.h
    discovery/emoticonthemeresourceavailabilitychecker.h
    discovery/emoticonthemevalidationchecker.h
    discovery/emoticonthemeinspector.h
    discovery/emoticonthememanager.h
)
