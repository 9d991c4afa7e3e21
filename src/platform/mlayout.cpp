// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlayout.h"

#include "mabstractlayoutpolicy.h"
#include "mapplication.h"
#include "mwindow.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGraphicsWidget>
#include <QWidget>

class MLayoutPrivate
{
public:
    explicit MLayoutPrivate(MLayout *q)
        : q(q)
    { }

    M::Orientation orientation() const;
    void showActiveItems() const;

    MLayout *const q;
    QList<MAbstractLayoutPolicy *> policies;
    QList<QGraphicsLayoutItem *> items;
    MAbstractLayoutPolicy *active = nullptr;
    MAbstractLayoutPolicy *landscape = nullptr;
    MAbstractLayoutPolicy *portrait = nullptr;
    bool destroying = false;
};

M::Orientation MLayoutPrivate::orientation() const
{
    const QGraphicsLayoutItem *parent = q->parentLayoutItem();
    while (parent && parent->isLayout())
        parent = parent->parentLayoutItem();
    const QGraphicsItem *item = parent ? parent->graphicsItem() : nullptr;
    if (item && item->scene()) {
        const QList<QGraphicsView *> views = item->scene()->views();
        for (QGraphicsView *view : views) {
            if (auto *window = qobject_cast<MWindow *>(view))
                return window->orientation();
        }
    }
    if (MWindow *window = MApplication::activeApplicationWindow())
        return window->orientation();
    return M::Landscape;
}

void MLayoutPrivate::showActiveItems() const
{
    for (QGraphicsLayoutItem *item : items) {
        if (QGraphicsItem *graphics = item->graphicsItem())
            graphics->setVisible(active && active->indexOf(item) >= 0);
    }
}

MLayout::MLayout(QGraphicsLayoutItem *parent)
    : QGraphicsLayout(parent)
    , d(new MLayoutPrivate(this))
{
    setContentsMargins(0, 0, 0, 0);
}

MLayout::~MLayout()
{
    d->destroying = true;
    qDeleteAll(d->policies);
    for (QGraphicsLayoutItem *item : qAsConst(d->items)) {
        item->setParentLayoutItem(nullptr);
        if (item->ownedByLayout())
            delete item;
    }
}

void MLayout::setPolicy(MAbstractLayoutPolicy *policy)
{
    if (!d->policies.contains(policy) || d->active == policy)
        return;
    d->active = policy;
    d->showActiveItems();
    invalidate();
}

MAbstractLayoutPolicy *MLayout::policy() const
{
    return d->active;
}

void MLayout::setLandscapePolicy(MAbstractLayoutPolicy *policy)
{
    if (!d->policies.contains(policy))
        return;
    d->landscape = policy;
    if (d->orientation() == M::Landscape)
        setPolicy(policy);
}

MAbstractLayoutPolicy *MLayout::landscapePolicy() const
{
    return d->landscape;
}

void MLayout::setPortraitPolicy(MAbstractLayoutPolicy *policy)
{
    if (!d->policies.contains(policy))
        return;
    d->portrait = policy;
    if (d->orientation() == M::Portrait)
        setPolicy(policy);
}

MAbstractLayoutPolicy *MLayout::portraitPolicy() const
{
    return d->portrait;
}

QList<MAbstractLayoutPolicy *> MLayout::registeredPolicies() const
{
    return d->policies;
}

void MLayout::removeItem(const QGraphicsLayoutItem *item)
{
    const int index = d->items.indexOf(const_cast<QGraphicsLayoutItem *>(item));
    if (index >= 0)
        removeAt(index);
}

int MLayout::count() const
{
    return d->items.size();
}

QGraphicsLayoutItem *MLayout::itemAt(int index) const
{
    return index >= 0 && index < d->items.size() ? d->items.at(index) : nullptr;
}

void MLayout::removeAt(int index)
{
    QGraphicsLayoutItem *item = itemAt(index);
    if (!item)
        return;
    // Each policy reports back through policyItemRemoved(), which drops the item here.
    for (MAbstractLayoutPolicy *policy : qAsConst(d->policies))
        policy->removeItem(item);
    if (d->items.removeAll(item) > 0)
        item->setParentLayoutItem(nullptr);
    invalidate();
}

void MLayout::setGeometry(const QRectF &rect)
{
    QGraphicsLayout::setGeometry(rect);
    if (!d->active)
        return;
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    d->active->relayout(geometry().adjusted(left, top, -right, -bottom));
}

QSizeF MLayout::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    if (which == Qt::MaximumSize)
        return QSizeF(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    getContentsMargins(&left, &top, &right, &bottom);
    const QSizeF content = d->active ? d->active->sizeHint(which, constraint) : QSizeF(0, 0);
    return content + QSizeF(left + right, top + bottom);
}

void MLayout::registerPolicy(MAbstractLayoutPolicy *policy)
{
    d->policies.append(policy);
    if (!d->active)
        setPolicy(policy);
}

void MLayout::unregisterPolicy(MAbstractLayoutPolicy *policy)
{
    if (d->destroying)
        return;
    while (policy->count() > 0)
        policy->removeItem(policy->itemAt(0));
    d->policies.removeAll(policy);
    if (d->landscape == policy)
        d->landscape = nullptr;
    if (d->portrait == policy)
        d->portrait = nullptr;
    if (d->active == policy) {
        d->active = nullptr;
        d->showActiveItems();
        invalidate();
    }
}

void MLayout::policyItemAdded(MAbstractLayoutPolicy *policy, QGraphicsLayoutItem *item)
{
    if (!d->items.contains(item)) {
        addChildLayoutItem(item);
        d->items.append(item);
    }
    if (QGraphicsItem *graphics = item->graphicsItem()) {
        if (policy == d->active)
            graphics->setVisible(true);
        else if (!d->active || d->active->indexOf(item) < 0)
            graphics->setVisible(false);
    }
}

void MLayout::policyItemRemoved(QGraphicsLayoutItem *item)
{
    for (const MAbstractLayoutPolicy *policy : qAsConst(d->policies)) {
        if (policy->indexOf(item) >= 0)
            return;
    }
    if (d->items.removeAll(item) > 0) {
        item->setParentLayoutItem(nullptr);
        invalidate();
    }
}
