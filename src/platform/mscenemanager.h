// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MSCENEMANAGER_H
#define GLYPHMORPH_MSCENEMANAGER_H

#include "glyphmorph_export.h"
#include "mnamespace.h"

#include <QMetaType>
#include <QObject>

#include <memory>

class MDialog;
class MSceneManagerPrivate;
class MWindow;

/**
 * What a window shows above its central widget: dialogs, each over a shade that dismisses it when
 * tapped, and the window's orientation.
 */
class GLYPHMORPH_EXPORT MSceneManager : public QObject
{
    Q_OBJECT

public:
    /** Made by @p window, which owns it. */
    explicit MSceneManager(MWindow *window);
    ~MSceneManager() override;

    M::Orientation orientation() const;

    /** Shows @p dialog in the middle of the window, above everything shown before. The dialog
     *  stays owned by its owner; the scene manager only takes it out again. */
    void appearSceneWindow(MDialog *dialog);
    /** Takes @p dialog out of the window; nothing when it is not shown here. */
    void disappearSceneWindow(MDialog *dialog);
    /** The dialogs shown, bottom first. */
    QList<MDialog *> sceneWindows() const;

Q_SIGNALS:
    /** The window turned to @p orientation: it was resized across its diagonal. */
    void orientationChanged(M::Orientation orientation);

private:
    friend class MWindow;
    friend class MDialog;
    void placeSceneWindows();
    void disappearAll();

    const std::unique_ptr<MSceneManagerPrivate> d;
};

Q_DECLARE_METATYPE(M::Orientation)

#endif
