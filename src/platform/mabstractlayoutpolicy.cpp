// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mabstractlayoutpolicy.h"

#include "mlayout.h"

#include <QList>

class MAbstractLayoutPolicyPrivate
{
public:
    MLayout *layout = nullptr;
    QList<QGraphicsLayoutItem *> items;
    qreal horizontalSpacing = 4;
    qreal verticalSpacing = 4;
};

MAbstractLayoutPolicy::MAbstractLayoutPolicy(MLayout *layout)
    : d(new MAbstractLayoutPolicyPrivate)
{
    d->layout = layout;
    if (layout)
        layout->registerPolicy(this);
}

MAbstractLayoutPolicy::~MAbstractLayoutPolicy()
{
    if (d->layout)
        d->layout->unregisterPolicy(this);
}

MLayout *MAbstractLayoutPolicy::layout() const
{
    return d->layout;
}

int MAbstractLayoutPolicy::count() const
{
    return d->items.size();
}

QGraphicsLayoutItem *MAbstractLayoutPolicy::itemAt(int index) const
{
    return index >= 0 && index < d->items.size() ? d->items.at(index) : nullptr;
}

int MAbstractLayoutPolicy::indexOf(const QGraphicsLayoutItem *item) const
{
    return d->items.indexOf(const_cast<QGraphicsLayoutItem *>(item));
}

void MAbstractLayoutPolicy::removeItem(const QGraphicsLayoutItem *item)
{
    const int index = indexOf(item);
    if (index < 0)
        return;
    aboutToRemoveItem(index);
    QGraphicsLayoutItem *removed = d->items.takeAt(index);
    if (d->layout)
        d->layout->policyItemRemoved(removed);
    invalidatePolicy();
}

void MAbstractLayoutPolicy::activate()
{
    if (d->layout)
        d->layout->setPolicy(this);
}

bool MAbstractLayoutPolicy::isActive() const
{
    return d->layout && d->layout->policy() == this;
}

qreal MAbstractLayoutPolicy::horizontalSpacing() const
{
    return d->horizontalSpacing;
}

void MAbstractLayoutPolicy::setHorizontalSpacing(qreal spacing)
{
    d->horizontalSpacing = qMax<qreal>(0, spacing);
    invalidatePolicy();
}

qreal MAbstractLayoutPolicy::verticalSpacing() const
{
    return d->verticalSpacing;
}

void MAbstractLayoutPolicy::setVerticalSpacing(qreal spacing)
{
    d->verticalSpacing = qMax<qreal>(0, spacing);
    invalidatePolicy();
}

void MAbstractLayoutPolicy::setSpacing(qreal spacing)
{
    setHorizontalSpacing(spacing);
    setVerticalSpacing(spacing);
}

bool MAbstractLayoutPolicy::appendItem(QGraphicsLayoutItem *item)
{
    if (!item || !d->layout || d->items.contains(item))
        return false;
    d->items.append(item);
    d->layout->policyItemAdded(this, item);
    invalidatePolicy();
    return true;
}

void MAbstractLayoutPolicy::aboutToRemoveItem(int) { }

void MAbstractLayoutPolicy::invalidatePolicy()
{
    if (isActive())
        d->layout->invalidate();
}
