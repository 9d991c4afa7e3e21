// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojigrid_p.h"

#include "emojipickermodel.h"
#include "mwidgetstyle.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSceneWheelEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleHints>

EmojiCell::EmojiCell(QGraphicsItem *parent)
    : MButton(parent)
{
    setTextVisible(false);
    setFlag(QGraphicsItem::ItemIsFocusable);
    // A right click opens a cell's variants.
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton);
    m_style.initialize(QString(), QString(), QStringLiteral("MButtonStyle"));
}

void EmojiCell::setEmoji(const QString &emoji, bool hasVariants)
{
    if (emoji == m_emoji && hasVariants == m_hasVariants)
        return;
    m_emoji = emoji;
    m_hasVariants = hasVariants;
    update();
}

void EmojiCell::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    MButton::paint(painter, option, widget);
    if (m_emoji.isEmpty())
        return;
    const QSizeF iconSize = m_style->iconSize();
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1;
    const QImage image
        = EmojiPickerModel::emojiImage(m_emoji, qRound(qMax(iconSize.width(), 1.0) * ratio));
    const QRectF target(
        rect().center() - QPointF(iconSize.width(), iconSize.height()) / 2, iconSize);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, image);
    if (m_hasVariants) {
        // A small corner triangle, as menus mark an entry that opens more.
        const qreal side = qMax<qreal>(4, rect().width() / 8);
        const QPointF corner
            = rect().bottomRight() - QPointF(m_style->padding(), m_style->padding()) / 2;
        const QPointF triangle[] = { corner, corner - QPointF(side, 0), corner - QPointF(0, side) };
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().color(QPalette::Mid));
        painter->drawPolygon(triangle, 3);
    }
    painter->restore();
}

void EmojiCell::styleChanged()
{
    m_style.initialize(objectName(), styleName(), QStringLiteral("MButtonStyle"));
    MButton::styleChanged();
}

namespace {
QString cellStyleName(int column, int columns)
{
    if (column == 0)
        return QStringLiteral("EmojiGridButtonLeft");
    if (column == columns - 1)
        return QStringLiteral("EmojiGridButtonRight");
    return QStringLiteral("EmojiGridButtonCenter");
}
} // namespace

EmojiGrid::EmojiGrid(EmojiPickerModel *model, QGraphicsItem *parent)
    : MWidget(parent)
    , m_model(model)
{
    setFlag(QGraphicsItem::ItemClipsChildrenToShape);
    m_longPress.setSingleShot(true);
    m_longPress.setInterval(QGuiApplication::styleHints()->mousePressAndHoldInterval());
    connect(&m_longPress, &QTimer::timeout, this, [this] {
        if (!m_held || !m_held->isDown())
            return;
        m_heldLong = true;
        Q_EMIT variantsRequested(firstShown() + m_cells.indexOf(m_held));
    });
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        m_current = 0;
        m_top = -1;
        scrollTo(0);
    });
    connect(model, &QAbstractItemModel::dataChanged, this, &EmojiGrid::refresh);
}

EmojiGrid::~EmojiGrid() = default;

void EmojiGrid::setGeometryOfGrid(int columns, int visibleRows)
{
    columns = qMax(1, columns);
    visibleRows = qMax(1, visibleRows);
    if (columns == m_columns && visibleRows == m_visibleRows)
        return;
    const bool hadFocus = hasFocus() || (scene() && isAncestorOf(scene()->focusItem()));
    qDeleteAll(m_cells);
    m_cells.clear();
    m_columns = columns;
    m_visibleRows = visibleRows;
    for (int i = 0; i < columns * visibleRows; ++i) {
        auto *cell = new EmojiCell(this);
        cell->setStyleName(cellStyleName(i % columns, columns));
        cell->installEventFilter(this);
        connect(cell, &MButton::pressed, this, [this, cell] {
            m_held = cell;
            m_heldLong = false;
            m_longPress.start();
        });
        connect(cell, &MButton::clicked, this, [this, cell] {
            m_longPress.stop();
            if (m_heldLong) {
                m_heldLong = false;
                return;
            }
            Q_EMIT picked(firstShown() + m_cells.indexOf(cell));
        });
        m_cells.append(cell);
    }
    m_cellSize = m_cells.constFirst()->effectiveSizeHint(Qt::PreferredSize);
    for (int i = 0; i < m_cells.size(); ++i) {
        m_cells.at(i)->setGeometry(
            QRectF(QPointF(i % columns * m_cellSize.width(), i / columns * m_cellSize.height()),
                m_cellSize));
    }
    updateGeometry();
    m_top = -1;
    scrollTo(m_current / m_columns - m_visibleRows / 2);
    if (hadFocus)
        focusRow(m_current);
}

void EmojiGrid::scrollTo(int top)
{
    const int rows = (m_model->count() + m_columns - 1) / qMax(1, m_columns);
    top = qBound(0, top, qMax(0, rows - m_visibleRows));
    if (top == m_top)
        return;
    m_top = top;
    refresh();
}

void EmojiGrid::refresh()
{
    const int count = m_model->count();
    for (int i = 0; i < m_cells.size(); ++i) {
        EmojiCell *cell = m_cells.at(i);
        const int row = firstShown() + i;
        cell->setVisible(row < count);
        if (row >= count) {
            cell->setEmoji(QString());
            continue;
        }
        cell->setEmoji(m_model->emojiAt(row), m_model->variantCountAt(row) > 1);
        cell->setAccessibleName(m_model->nameAt(row));
        // The strip of a row ends rounded where the emoji end, as the classic grid's does.
        const int column = i % m_columns;
        const bool endsRow = row == count - 1 && column != m_columns - 1;
        const QString objectName = endsRow ? QStringLiteral("SelectionGridRowEnd") : QString();
        // A new name makes the cell look its style up again: only when it changes.
        if (cell->objectName() != objectName)
            cell->setObjectName(objectName);
    }
}

void EmojiGrid::focusRow(int row)
{
    const int count = m_model->count();
    if (count == 0 || m_columns == 0)
        return;
    m_current = qBound(0, row, count - 1);
    const int line = m_current / m_columns;
    if (line < m_top)
        scrollTo(line);
    else if (line >= m_top + m_visibleRows)
        scrollTo(line - m_visibleRows + 1);
    m_cells.at(m_current - firstShown())->setFocus(Qt::OtherFocusReason);
}

bool EmojiGrid::handleKey(int cell, QKeyEvent *event)
{
    const int row = firstShown() + cell;
    const int count = m_model->count();
    const int page = m_columns * m_visibleRows;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        focusRow(row - 1);
        return true;
    case Qt::Key_Right:
        focusRow(row + 1);
        return true;
    case Qt::Key_Up:
        if (row >= m_columns)
            focusRow(row - m_columns);
        return true;
    case Qt::Key_Down:
        // Into a shorter last row: its last cell.
        if (row / m_columns < (count - 1) / m_columns)
            focusRow(qMin(row + m_columns, count - 1));
        return true;
    case Qt::Key_Home:
        focusRow(0);
        return true;
    case Qt::Key_End:
        focusRow(count - 1);
        return true;
    case Qt::Key_PageUp:
        focusRow(row - page < 0 ? row % m_columns : row - page);
        return true;
    case Qt::Key_PageDown:
        focusRow(row + page);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain)
            Q_EMIT picked(row);
        return plain;
    case Qt::Key_Space:
    case Qt::Key_Menu:
        if (plain)
            Q_EMIT variantsRequested(row);
        return plain;
    default:
        return otherKeys && otherKeys(event);
    }
}

bool EmojiGrid::eventFilter(QObject *watched, QEvent *event)
{
    const int cell = m_cells.indexOf(static_cast<EmojiCell *>(watched));
    if (cell < 0)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_current = firstShown() + cell;
        return false;
    case QEvent::KeyPress:
        return handleKey(cell, static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        // The press was the grid's; the button must not click on its release.
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            return true;
        default:
            return false;
        }
    case QEvent::GraphicsSceneMousePress:
        if (static_cast<QGraphicsSceneMouseEvent *>(event)->button() == Qt::RightButton) {
            m_cells.at(cell)->setFocus(Qt::MouseFocusReason);
            Q_EMIT variantsRequested(firstShown() + cell);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void EmojiGrid::wheelEvent(QGraphicsSceneWheelEvent *event)
{
    // Three rows a notch, as item views scroll by default.
    const int notches = event->delta() / 120;
    scrollTo(m_top - 3 * (notches == 0 ? (event->delta() > 0 ? 1 : -1) : notches));
    event->accept();
}

QSizeF EmojiGrid::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    if (which == Qt::MinimumSize || which == Qt::PreferredSize)
        return QSizeF(m_columns * m_cellSize.width(), m_visibleRows * m_cellSize.height());
    return MWidget::sizeHint(which, constraint);
}
