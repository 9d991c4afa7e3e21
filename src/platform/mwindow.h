// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWINDOW_H
#define GLYPHMORPH_MWINDOW_H

#include "glyphmorph_export.h"
#include "mnamespace.h"

#include <QGraphicsView>

#include <memory>

class QGraphicsWidget;
class MSceneManager;
class MWindowPrivate;

/**
 * A top-level window showing its own graphics scene, one scene unit per pixel.
 *
 * Its orientation follows its shape: landscape when it is at least as wide as high. A resize
 * across the diagonal is a rotation, announced by the scene manager. Dialogs appear above the
 * central widget, in the middle of the window. Its scene has the palette of the platform UI
 * theme (MTheme::palette()), and takes the new one when the theme changes.
 */
class GLYPHMORPH_EXPORT MWindow : public QGraphicsView
{
    Q_OBJECT

public:
    explicit MWindow(QWidget *parent = nullptr);
    ~MWindow() override;

    M::Orientation orientation() const;
    /** Owned by the window. */
    MSceneManager *sceneManager() const;

    /** Puts @p widget into the scene and keeps it as large as the window; the scene owns it. */
    void setCentralWidget(QGraphicsWidget *widget);
    QGraphicsWidget *centralWidget() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class MWindowPrivate;
    const std::unique_ptr<MWindowPrivate> d;
};

#endif
