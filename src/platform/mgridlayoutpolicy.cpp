// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mgridlayoutpolicy.h"

#include <QGraphicsLayoutItem>
#include <QVector>
#include <QWidget>

#include <numeric>

namespace {

struct Cell
{
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    Qt::Alignment alignment;
};

qreal extent(const QSizeF &size, Qt::Orientation orientation)
{
    return orientation == Qt::Horizontal ? size.width() : size.height();
}

qreal total(const QVector<qreal> &tracks, qreal spacing)
{
    if (tracks.isEmpty())
        return 0;
    return std::accumulate(tracks.cbegin(), tracks.cend(), qreal(0))
        + spacing * (tracks.size() - 1);
}

// Positions an item of @p wanted extent in a cell from @p start of @p room extent.
qreal place(qreal start, qreal room, qreal wanted, Qt::Alignment alignment, Qt::Alignment before,
    Qt::Alignment after)
{
    if (alignment & before)
        return start;
    if (alignment & after)
        return start + room - wanted;
    return start + (room - wanted) / 2;
}
} // namespace

class MGridLayoutPolicyPrivate
{
public:
    explicit MGridLayoutPolicyPrivate(const MGridLayoutPolicy *q)
        : q(q)
    { }

    QVector<qreal> tracks(Qt::SizeHint which, Qt::Orientation orientation) const;
    qreal spacing(Qt::Orientation orientation) const
    {
        return orientation == Qt::Horizontal ? q->horizontalSpacing() : q->verticalSpacing();
    }

    const MGridLayoutPolicy *const q;
    QVector<Cell> cells; // parallel to the policy's items
};

QVector<qreal> MGridLayoutPolicyPrivate::tracks(
    Qt::SizeHint which, Qt::Orientation orientation) const
{
    const bool horizontal = orientation == Qt::Horizontal;
    int count = 0;
    for (const Cell &cell : cells)
        count = qMax(count, horizontal ? cell.column + cell.columnSpan : cell.row + cell.rowSpan);
    QVector<qreal> sizes(count, 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < cells.size(); ++i) {
            const Cell &cell = cells.at(i);
            const int first = horizontal ? cell.column : cell.row;
            const int span = horizontal ? cell.columnSpan : cell.rowSpan;
            if ((span == 1) != (pass == 0))
                continue;
            const qreal wanted = extent(q->itemAt(i)->effectiveSizeHint(which), orientation);
            QVector<qreal> covered = sizes.mid(first, span);
            const qreal missing = wanted - total(covered, spacing(orientation));
            for (int t = first; missing > 0 && t < first + span; ++t)
                sizes[t] += missing / span;
        }
    }
    return sizes;
}

MGridLayoutPolicy::MGridLayoutPolicy(MLayout *layout)
    : MAbstractLayoutPolicy(layout)
    , d(new MGridLayoutPolicyPrivate(this))
{ }

MGridLayoutPolicy::~MGridLayoutPolicy() = default;

void MGridLayoutPolicy::addItem(QGraphicsLayoutItem *item, int row, int column, int rowSpan,
    int columnSpan, Qt::Alignment alignment)
{
    if (row < 0 || column < 0 || rowSpan < 1 || columnSpan < 1 || !item || indexOf(item) >= 0)
        return;
    Cell cell;
    cell.row = row;
    cell.column = column;
    cell.rowSpan = rowSpan;
    cell.columnSpan = columnSpan;
    cell.alignment = alignment;
    d->cells.append(cell);
    if (!appendItem(item))
        d->cells.removeLast();
}

QGraphicsLayoutItem *MGridLayoutPolicy::itemAt(int row, int column) const
{
    for (int i = 0; i < d->cells.size(); ++i) {
        if (d->cells.at(i).row == row && d->cells.at(i).column == column)
            return itemAt(i);
    }
    return nullptr;
}

int MGridLayoutPolicy::rowCount() const
{
    int rows = 0;
    for (const Cell &cell : qAsConst(d->cells))
        rows = qMax(rows, cell.row + cell.rowSpan);
    return rows;
}

int MGridLayoutPolicy::columnCount() const
{
    int columns = 0;
    for (const Cell &cell : qAsConst(d->cells))
        columns = qMax(columns, cell.column + cell.columnSpan);
    return columns;
}

void MGridLayoutPolicy::relayout(const QRectF &rect)
{
    QVector<qreal> origins[2];
    QVector<qreal> sizes[2];
    for (const Qt::Orientation orientation : { Qt::Horizontal, Qt::Vertical }) {
        const int o = orientation == Qt::Horizontal ? 0 : 1;
        QVector<qreal> tracks = d->tracks(Qt::PreferredSize, orientation);
        const qreal spacing = d->spacing(orientation);
        const qreal preferred = total(tracks, 0);
        const qreal room
            = extent(rect.size(), orientation) - spacing * qMax(0, int(tracks.size()) - 1);
        for (qreal &track : tracks)
            track = preferred > 0 ? qMax<qreal>(0, track * room / preferred) : room / tracks.size();
        qreal position = o == 0 ? rect.left() : rect.top();
        for (const qreal track : qAsConst(tracks)) {
            origins[o].append(position);
            position += track + spacing;
        }
        sizes[o] = tracks;
    }
    for (int i = 0; i < d->cells.size(); ++i) {
        const Cell &cell = d->cells.at(i);
        QGraphicsLayoutItem *item = itemAt(i);
        const QRectF area(origins[0].at(cell.column), origins[1].at(cell.row),
            total(sizes[0].mid(cell.column, cell.columnSpan), horizontalSpacing()),
            total(sizes[1].mid(cell.row, cell.rowSpan), verticalSpacing()));
        QSizeF size = area.size().boundedTo(item->effectiveSizeHint(Qt::MaximumSize));
        if (cell.alignment)
            size = size.boundedTo(item->effectiveSizeHint(Qt::PreferredSize));
        const qreal x = place(
            area.left(), area.width(), size.width(), cell.alignment, Qt::AlignLeft, Qt::AlignRight);
        const qreal y = place(area.top(), area.height(), size.height(), cell.alignment,
            Qt::AlignTop, Qt::AlignBottom);
        item->setGeometry(QRectF(QPointF(x, y), size));
    }
}

QSizeF MGridLayoutPolicy::sizeHint(Qt::SizeHint which, const QSizeF &) const
{
    if (which == Qt::MaximumSize)
        return QSizeF(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return QSizeF(total(d->tracks(which, Qt::Horizontal), horizontalSpacing()),
        total(d->tracks(which, Qt::Vertical), verticalSpacing()));
}

void MGridLayoutPolicy::aboutToRemoveItem(int index)
{
    d->cells.remove(index);
}
