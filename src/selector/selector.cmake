# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# The emoticon selector: widget, model, view, style, and the library's registration with its
# stylesheet.
set(GLYPHMORPH_SELECTOR_HEADERS
    selector/emoticonselectorwidget.h
    selector/emoticonselectorwidgetmodel.h
    selector/emoticonselectorwidgetview.h
    selector/emoticonselectorwidgetviewstyle.h
    selector/emoticonselectorwidgetviewstylecontainer.h
    selector/libglyphmorphcssloader.h
)
target_sources(glyphmorph PRIVATE
    ${GLYPHMORPH_SELECTOR_HEADERS}
    selector/emoticonselectorwidget.cpp
    selector/emoticonselectorwidgetmodel.cpp
    selector/emoticonselectorwidgetview.cpp
    selector/emoticonselectorwidgetviewstyle.cpp
    selector/emoticonselectorwidgetviewstylecontainer.cpp
    selector/libglyphmorph0registration.cpp
    selector/libglyphmorph0.qrc
    selector/libglyphmorphcssloader.cpp
)
list(APPEND GLYPHMORPH_SELECTOR_PUBLIC_HEADERS ${GLYPHMORPH_SELECTOR_HEADERS})
