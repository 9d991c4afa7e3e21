// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MAPPLICATION_H
#define GLYPHMORPH_MAPPLICATION_H

#include "glyphmorph_export.h"

#include <QApplication>

class MWindow;

/** The application object of graphics-view applications built on MWindow. */
class GLYPHMORPH_EXPORT MApplication : public QApplication
{
    Q_OBJECT

public:
    MApplication(int &argc, char **argv);
    ~MApplication() override;

    /** The application object, or null when it is no MApplication. */
    static MApplication *instance();
    /**
     * The window the application shows: the active MWindow, else the visible MWindow shown or
     * activated last; null when no MWindow is visible. Works under any QApplication.
     */
    static MWindow *activeApplicationWindow();
};

#endif
