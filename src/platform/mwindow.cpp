// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwindow.h"

#include "maccessible_p.h"
#include "mgconfitem.h"
#include "mscenemanager.h"
#include "mtheme.h"
#include "mwindow_p.h"

#include <QEvent>
#include <QGraphicsScene>
#include <QGraphicsWidget>
#include <QResizeEvent>

namespace {
// Most recently shown or activated last.
QList<MWindow *> &shownOrder()
{
    static QList<MWindow *> windows;
    return windows;
}
} // namespace

MWindowPrivate::MWindowPrivate(MWindow *q)
    : q(q)
    , scene(new QGraphicsScene(q))
    , sceneManager(new MSceneManager(q))
    , platformTheme(new MGConfItem(QStringLiteral("/meegotouch/theme/name"), q))
{ }

MWindow *MWindowPrivate::lastShownWindow()
{
    const QList<MWindow *> &windows = shownOrder();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if ((*it)->isVisible())
            return *it;
    }
    return nullptr;
}

void MWindowPrivate::raiseInShownOrder(MWindow *window)
{
    shownOrder().removeAll(window);
    shownOrder().append(window);
}

void MWindowPrivate::removeFromShownOrder(MWindow *window)
{
    shownOrder().removeAll(window);
}

MWindow::MWindow(QWidget *parent)
    : QGraphicsView(parent)
    , d(new MWindowPrivate(this))
{
    MAccessible::install();
    setScene(d->scene);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setRenderHints(
        QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    d->orientation = orientation();
    d->scene->setSceneRect(QRectF(QPointF(0, 0), QSizeF(viewport()->size())));
    // Icons and colours come from the platform UI theme; a switch must show on screen at once.
    d->scene->setPalette(MTheme::palette());
    connect(d->platformTheme, &MGConfItem::valueChanged, this, [this] {
        d->scene->setPalette(MTheme::palette());
        d->scene->update();
    });
}

MWindow::~MWindow()
{
    // Dialogs outlive the window that shows them: take them out before the scene deletes its items.
    d->sceneManager->disappearAll();
    MWindowPrivate::removeFromShownOrder(this);
}

M::Orientation MWindow::orientation() const
{
    return width() >= height() ? M::Landscape : M::Portrait;
}

MSceneManager *MWindow::sceneManager() const
{
    return d->sceneManager;
}

void MWindow::setCentralWidget(QGraphicsWidget *widget)
{
    if (d->centralWidget == widget)
        return;
    delete d->centralWidget.data();
    d->centralWidget = widget;
    if (!widget)
        return;
    d->scene->addItem(widget);
    widget->setPos(0, 0);
    widget->resize(d->scene->sceneRect().size());
}

QGraphicsWidget *MWindow::centralWidget() const
{
    return d->centralWidget;
}

void MWindow::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    const QRectF area(QPointF(0, 0), QSizeF(viewport()->size()));
    d->scene->setSceneRect(area);
    if (d->centralWidget)
        d->centralWidget->resize(area.size());
    d->sceneManager->placeSceneWindows();
    const M::Orientation now = orientation();
    if (now != d->orientation) {
        d->orientation = now;
        Q_EMIT d->sceneManager->orientationChanged(now);
    }
}

void MWindow::showEvent(QShowEvent *event)
{
    QGraphicsView::showEvent(event);
    MWindowPrivate::raiseInShownOrder(this);
}

void MWindow::hideEvent(QHideEvent *event)
{
    QGraphicsView::hideEvent(event);
    MWindowPrivate::removeFromShownOrder(this);
}

void MWindow::changeEvent(QEvent *event)
{
    QGraphicsView::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        MWindowPrivate::raiseInShownOrder(this);
}
