// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mscenemanager.h"

#include "mdialog.h"
#include "mwindow.h"

#include <QBrush>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPen>
#include <QPointer>

namespace {
constexpr qreal windowMargin = 8;
constexpr qreal firstSceneWindowZ = 1000;

// Dims what lies below a dialog and takes the taps aimed there: such a tap dismisses the dialog.
class Shade : public QGraphicsRectItem
{
public:
    explicit Shade(MDialog *dialog)
        : dialog(dialog)
    {
        setBrush(QColor(0, 0, 0, 110));
        setPen(Qt::NoPen);
    }

    QPointer<MDialog> dialog;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override { event->accept(); }
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override
    {
        if (dialog && rect().contains(event->pos()))
            dialog->reject();
    }
};

struct SceneWindow
{
    QPointer<MDialog> dialog;
    Shade *shade = nullptr;
};
} // namespace

class MSceneManagerPrivate
{
public:
    explicit MSceneManagerPrivate(MWindow *window)
        : window(window)
    { }

    void place(const SceneWindow &shown, int level) const;

    MWindow *const window;
    QList<SceneWindow> shown;
};

void MSceneManagerPrivate::place(const SceneWindow &entry, int level) const
{
    const QRectF area = window->scene()->sceneRect();
    entry.shade->setRect(area);
    entry.shade->setZValue(firstSceneWindowZ + 2 * level);
    MDialog *dialog = entry.dialog;
    dialog->setZValue(firstSceneWindowZ + 2 * level + 1);
    const QSizeF room = area.size() - QSizeF(2 * windowMargin, 2 * windowMargin);
    const QSizeF size = dialog->effectiveSizeHint(Qt::PreferredSize)
                            .boundedTo(room)
                            .expandedTo(dialog->effectiveSizeHint(Qt::MinimumSize).boundedTo(room));
    dialog->resize(size);
    dialog->setPos(area.center() - QPointF(size.width() / 2, size.height() / 2));
}

MSceneManager::MSceneManager(MWindow *window)
    : QObject(window)
    , d(new MSceneManagerPrivate(window))
{
    qRegisterMetaType<M::Orientation>("M::Orientation");
}

MSceneManager::~MSceneManager()
{
    disappearAll();
}

M::Orientation MSceneManager::orientation() const
{
    return d->window->orientation();
}

void MSceneManager::appearSceneWindow(MDialog *dialog)
{
    if (!dialog)
        return;
    for (const SceneWindow &entry : qAsConst(d->shown)) {
        if (entry.dialog == dialog)
            return;
    }
    if (MSceneManager *other = dialog->sceneManager(); other && other != this)
        other->disappearSceneWindow(dialog);
    SceneWindow entry;
    entry.dialog = dialog;
    entry.shade = new Shade(dialog);
    QGraphicsScene *scene = d->window->scene();
    scene->addItem(entry.shade);
    scene->addItem(dialog);
    d->shown.append(entry);
    d->place(entry, d->shown.size() - 1);
    dialog->show();
    dialog->setFocus();
}

void MSceneManager::disappearSceneWindow(MDialog *dialog)
{
    for (int i = 0; i < d->shown.size(); ++i) {
        if (d->shown.at(i).dialog != dialog)
            continue;
        const SceneWindow entry = d->shown.takeAt(i);
        delete entry.shade;
        if (dialog && dialog->scene())
            dialog->scene()->removeItem(dialog);
        return;
    }
}

QList<MDialog *> MSceneManager::sceneWindows() const
{
    QList<MDialog *> dialogs;
    for (const SceneWindow &entry : qAsConst(d->shown)) {
        if (entry.dialog)
            dialogs.append(entry.dialog);
    }
    return dialogs;
}

void MSceneManager::placeSceneWindows()
{
    for (int i = 0; i < d->shown.size(); ++i) {
        if (d->shown.at(i).dialog)
            d->place(d->shown.at(i), i);
    }
}

void MSceneManager::disappearAll()
{
    while (!d->shown.isEmpty()) {
        const SceneWindow entry = d->shown.takeLast();
        delete entry.shade;
        if (entry.dialog && entry.dialog->scene())
            entry.dialog->scene()->removeItem(entry.dialog);
    }
}
