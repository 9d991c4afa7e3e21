// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the cells of the Widgets emoji picker.
#ifndef GLYPHMORPH_EMOJIGRID_P_H
#define GLYPHMORPH_EMOJIGRID_P_H

#include "glyphmorph_export.h"
#include "mbutton.h"
#include "mwidget.h"
#include "mwidgetstylecontainer.h"

#include <QTimer>
#include <QVector>

#include <functional>

class EmojiPickerModel;
class QKeyEvent;

/** A button showing an emoji image of the style's icon size, drawn when first painted; a mark in
 *  its corner when it has variants. */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiCell : public MButton
{
    Q_OBJECT

public:
    explicit EmojiCell(QGraphicsItem *parent = nullptr);

    QString emoji() const { return m_emoji; }
    void setEmoji(const QString &emoji, bool hasVariants = false);

protected:
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    void styleChanged() override;

private:
    QString m_emoji;
    bool m_hasVariants = false;
    MWidgetStyleContainer m_style;
};

/**
 * The rows of an EmojiPickerModel in a grid of a fixed number of columns and visible rows: one
 * EmojiCell per place on screen, given the row that scrolls there, so that only what is seen is
 * drawn. Arrows, Home/End and Page Up/Down move the focus and scroll; Return or Enter picks,
 * Space, Menu, a right click or a long press asks for the variants.
 */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiGrid : public MWidget
{
    Q_OBJECT

public:
    EmojiGrid(EmojiPickerModel *model, QGraphicsItem *parent = nullptr);
    ~EmojiGrid() override;

    void setGeometryOfGrid(int columns, int visibleRows);
    int columns() const { return m_columns; }
    int visibleRows() const { return m_visibleRows; }
    /** The first row of the model shown. */
    int firstShown() const { return m_top * m_columns; }
    /** The model row that has or last had the focus. */
    int current() const { return m_current; }
    /** Makes @p row current, scrolled into view, and gives it the focus. */
    void focusRow(int row);
    /** The cells on screen, model rows firstShown() and on; hidden past the model's end. */
    const QVector<EmojiCell *> &cells() const { return m_cells; }
    /** Called with the key events that the grid does not handle; true when handled. */
    std::function<bool(QKeyEvent *)> otherKeys;

Q_SIGNALS:
    void picked(int row);
    void variantsRequested(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QGraphicsSceneWheelEvent *event) override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;

private:
    void refresh();
    void scrollTo(int top);
    bool handleKey(int cell, QKeyEvent *event);

    EmojiPickerModel *const m_model;
    QVector<EmojiCell *> m_cells;
    int m_columns = 0;
    int m_visibleRows = 0;
    int m_top = 0;
    int m_current = 0;
    QSizeF m_cellSize;
    QTimer m_longPress;
    EmojiCell *m_held = nullptr;
    bool m_heldLong = false;
};

#endif
