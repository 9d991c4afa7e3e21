// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MGRIDLAYOUTPOLICY_H
#define GLYPHMORPH_MGRIDLAYOUTPOLICY_H

#include "glyphmorph_export.h"
#include "mabstractlayoutpolicy.h"

#include <memory>

class MGridLayoutPolicyPrivate;

/**
 * Items in the cells of a grid. A column is as wide as its widest item, a row as high as its
 * highest (items spanning several cells only widen them when they do not fit); room beyond that
 * is shared out in proportion.
 */
class GLYPHMORPH_EXPORT MGridLayoutPolicy : public MAbstractLayoutPolicy
{
public:
    explicit MGridLayoutPolicy(MLayout *layout);
    ~MGridLayoutPolicy() override;

    /** Puts @p item into the cell at @p row and @p column, spanning the given rows and columns.
     *  With an @p alignment the item keeps its preferred size and sits in its cell accordingly;
     *  without one it fills the cell. Nothing when the item is held already or a value is
     *  negative or a span below 1. */
    void addItem(QGraphicsLayoutItem *item, int row, int column, int rowSpan = 1,
        int columnSpan = 1, Qt::Alignment alignment = Qt::Alignment());

    using MAbstractLayoutPolicy::itemAt;
    /** The item whose cell starts at @p row and @p column, or null. */
    QGraphicsLayoutItem *itemAt(int row, int column) const;
    int rowCount() const;
    int columnCount() const;

    void relayout(const QRectF &rect) override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;

protected:
    void aboutToRemoveItem(int index) override;

private:
    const std::unique_ptr<MGridLayoutPolicyPrivate> d;
};

#endif
