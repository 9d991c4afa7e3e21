// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: MWindow's state, shared with MApplication and MSceneManager.
#ifndef GLYPHMORPH_MWINDOW_P_H
#define GLYPHMORPH_MWINDOW_P_H

#include "mnamespace.h"

#include <QPointer>

class MGConfItem;
class MSceneManager;
class MWindow;
class QGraphicsScene;
class QGraphicsWidget;

class MWindowPrivate
{
public:
    explicit MWindowPrivate(MWindow *q);
    MWindowPrivate(const MWindowPrivate &) = delete;
    MWindowPrivate &operator=(const MWindowPrivate &) = delete;

    /** The visible MWindow shown or activated last, or null. */
    static MWindow *lastShownWindow();
    static void raiseInShownOrder(MWindow *window);
    static void removeFromShownOrder(MWindow *window);

    MWindow *const q;
    QGraphicsScene *const scene;
    MSceneManager *const sceneManager;
    MGConfItem *const platformTheme;
    QPointer<QGraphicsWidget> centralWidget;
    M::Orientation orientation = M::Landscape;
};

#endif
