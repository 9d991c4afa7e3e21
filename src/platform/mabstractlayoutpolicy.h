// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MABSTRACTLAYOUTPOLICY_H
#define GLYPHMORPH_MABSTRACTLAYOUTPOLICY_H

#include "glyphmorph_export.h"

#include <QRectF>
#include <QSizeF>

#include <memory>

class MAbstractLayoutPolicyPrivate;
class MLayout;
class QGraphicsLayoutItem;

/**
 * One arrangement of items of an MLayout. A layout holds several policies; only the items of its
 * active policy are shown. A policy registers with its layout on construction, and the layout owns
 * it; the first policy of a layout becomes its policy.
 */
class GLYPHMORPH_EXPORT MAbstractLayoutPolicy
{
public:
    explicit MAbstractLayoutPolicy(MLayout *layout);
    virtual ~MAbstractLayoutPolicy();
    MAbstractLayoutPolicy(const MAbstractLayoutPolicy &) = delete;
    MAbstractLayoutPolicy &operator=(const MAbstractLayoutPolicy &) = delete;

    MLayout *layout() const;
    int count() const;
    QGraphicsLayoutItem *itemAt(int index) const;
    /** -1 when the policy does not hold @p item. */
    int indexOf(const QGraphicsLayoutItem *item) const;
    void removeItem(const QGraphicsLayoutItem *item);

    /** Makes this the layout's policy. */
    void activate();
    bool isActive() const;

    qreal horizontalSpacing() const;
    void setHorizontalSpacing(qreal spacing);
    qreal verticalSpacing() const;
    void setVerticalSpacing(qreal spacing);
    void setSpacing(qreal spacing);

    /** Places the policy's items inside @p rect, the layout's area without its margins. */
    virtual void relayout(const QRectF &rect) = 0;
    /** The size the policy's items need, without the layout's margins. */
    virtual QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const = 0;

protected:
    /** Adds @p item at the end (the layout takes it as its child item); false when held already. */
    bool appendItem(QGraphicsLayoutItem *item);
    /** The item at @p index is about to leave the policy. */
    virtual void aboutToRemoveItem(int index);
    /** The arrangement changed: the layout is laid out again when this policy is active. */
    void invalidatePolicy();

private:
    const std::unique_ptr<MAbstractLayoutPolicyPrivate> d;
};

#endif
