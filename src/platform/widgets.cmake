# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Windows, widgets, layouts, styles and the class registration: sources of the glyphmorph target
# and their public headers.
set(GLYPHMORPH_WIDGETS_PUBLIC_HEADERS
    platform/mabstractlayoutpolicy.h
    platform/mapplication.h
    platform/mbutton.h
    platform/mdialog.h
    platform/mgridlayoutpolicy.h
    platform/mlayout.h
    platform/mlibrary.h
    platform/mscenemanager.h
    platform/mstylecreator.h
    platform/mviewcreator.h
    platform/mwidget.h
    platform/mwidgetcontroller.h
    platform/mwidgetcreator.h
    platform/mwidgetmodel.h
    platform/mwidgetstyle.h
    platform/mwidgetstylecontainer.h
    platform/mwidgetview.h
    platform/mwindow.h
)
target_sources(glyphmorph PRIVATE
    ${GLYPHMORPH_WIDGETS_PUBLIC_HEADERS}
    platform/mabstractlayoutpolicy.cpp
    platform/mapplication.cpp
    platform/mbutton.cpp
    platform/mdialog.cpp
    platform/mframepainter.cpp
    platform/mframepainter_p.h
    platform/mgridlayoutpolicy.cpp
    platform/mlayout.cpp
    platform/mlibrary.cpp
    platform/mscenemanager.cpp
    platform/mstylecreator.cpp
    platform/mstylesheet.cpp
    platform/mstylesheet_p.h
    platform/mviewcreator.cpp
    platform/mwidget.cpp
    platform/mwidgetcontroller.cpp
    platform/mwidgetcreator.cpp
    platform/mwidgetmodel.cpp
    platform/mwidgetstyle.cpp
    platform/mwidgetstylecontainer.cpp
    platform/mwidgetview.cpp
    platform/mwindow.cpp
    platform/mwindow_p.h
    platform/platformstyle.qrc
)
list(APPEND GLYPHMORPH_PLATFORM_PUBLIC_HEADERS ${GLYPHMORPH_WIDGETS_PUBLIC_HEADERS})
