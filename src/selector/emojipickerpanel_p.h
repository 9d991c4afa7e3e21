// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the content of the emoji picker dialog.
#ifndef GLYPHMORPH_EMOJIPICKERPANEL_P_H
#define GLYPHMORPH_EMOJIPICKERPANEL_P_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"
#include "mwidget.h"

#include <QVector>

class EmojiCell;
class EmojiGrid;
class EmojiPickerModel;
class MTextEdit;
class QKeyEvent;

/**
 * The emoji picker for the Emoji theme: a search field and the default skin tone on top, a tab
 * per section ("Recently used", then the groups of emoji-test.txt), and the grid of the section
 * or of the search results. Typing a letter anywhere searches; Escape closes the tone chooser or
 * the variants, else clears the search, else is left to the dialog, which closes.
 *
 * The tone button (a click, or Return or Space on it) and Ctrl+T anywhere in the picker open the
 * tone chooser: the grid shows the six default skin tones, the current one focused; Return or a
 * click makes a tone the default, Escape, Ctrl+T or the button again closes it unchanged. Either
 * way the focus goes back where it was.
 */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiPickerPanel : public MWidget
{
    Q_OBJECT

public:
    explicit EmojiPickerPanel(QGraphicsItem *parent = nullptr);
    ~EmojiPickerPanel() override;

    /** Whether @p theme gets this picker rather than the grid of all its emoticons: the
     *  built-in Emoji theme. */
    static bool servesTheme(const EmoticonTheme &theme);

    EmojiPickerModel *model() const { return m_model; }
    EmojiGrid *grid() const { return m_grid; }
    MTextEdit *searchField() const { return m_search; }
    EmojiCell *toneButton() const { return m_tone; }
    const QVector<EmojiCell *> &tabs() const { return m_tabs; }

    /** Columns and visible rows of the grid. */
    void setGridSize(int columns, int visibleRows);
    /** Gives the focus to the grid's current cell, or to the search field when it is empty. */
    void focusGrid();
    /** Shows the variants of the cell at @p row, when it has any. */
    void openVariants(int row);
    /** Shows the six default skin tones in the grid. */
    void openToneChooser();

Q_SIGNALS:
    /** The user picked @p emoji; it is first in "Recently used" already. */
    void picked(const QString &emoji);

private:
    void closeToneChooser();
    bool toneChooserKey(QKeyEvent *event);
    bool otherKey(QKeyEvent *event);
    bool searchKey(QKeyEvent *event);
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool sceneEventFilter(QGraphicsItem *watched, QEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void updateTabs();
    void updateTone();

    EmojiPickerModel *const m_model;
    MTextEdit *m_search = nullptr;
    EmojiCell *m_tone = nullptr;
    QVector<EmojiCell *> m_tabs;
    EmojiGrid *m_grid = nullptr;
    // The row of the cell whose variants are open, to go back to.
    int m_variantsFrom = -1;
    // Where the focus was when the tone chooser opened: a grid row, else an item of the panel.
    int m_tonesFrom = -1;
    QGraphicsItem *m_tonesFocus = nullptr;
};

#endif
