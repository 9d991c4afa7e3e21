// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the shortcode completion that EmojiCompleter and the QML module's
// EmoticonReplacer share.
#ifndef GLYPHMORPH_EMOJICOMPLETIONSTATE_P_H
#define GLYPHMORPH_EMOJICOMPLETIONSTATE_P_H

#include "glyphmorph_export.h"

#include <QObject>

#include <memory>

class EmojiCompletionModel;
class EmojiCompletionStatePrivate;
class QTextDocument;

/**
 * Whether a shortcode is being typed at an editor's cursor, and what completing it does.
 *
 * The shortcode is a ':' at a word start (the start of a block, after whitespace or after an
 * image) followed by at least two shortcode characters (letters, digits, _ + -) that end at the
 * cursor, with nothing selected; an image whose code is such a ':' word (the built-in theme's
 * ":p") stands for its code. The completion is open while at least one shortcode of the set
 * begins with the query; model() then holds the rows, else none. Escape closes it until another
 * ':' word is typed. Closed, it takes no key.
 */
class GLYPHMORPH_EXPORT EmojiCompletionState : public QObject
{
    Q_OBJECT

public:
    explicit EmojiCompletionState(QObject *parent = nullptr);
    ~EmojiCompletionState() override;

    EmojiCompletionModel *model() const;

    QTextDocument *document() const;
    /** The document completed; its edits are followed from here on. */
    void setDocument(QTextDocument *document);
    /** Where the editor's cursor is, and whether it selects: call after every move. Edits of
     *  the document move the position as they move the editor's cursor. */
    void setCursor(int position, bool hasSelection = false);
    int cursorPosition() const;

    bool isOpen() const;
    /** The highlighted row; 0 whenever it opens or the query changes. */
    int currentRow() const;
    void setCurrentRow(int row);
    /** Where the text completed begins (its ':'); -1 while closed. */
    int queryStart() const;

    /**
     * While open: Up and Down move the current row (wrapping around), Tab, Return and Enter
     * complete, Escape dismisses. True when the key was taken; always false while closed and
     * for keys with modifiers other than the keypad's.
     */
    bool handleKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /** Whether handleKey() would take the key: for shortcut overrides. */
    bool takesKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    /** Replaces the shortcode by the current row's emoji in one undo step and notes its use; the
     *  cursor position after it, or -1 when closed. */
    int complete();
    /** Closes until another ':' word is typed. */
    void dismiss();

Q_SIGNALS:
    void openChanged(bool open);
    void currentRowChanged(int row);
    /** The rows or the query changed while open: a popup may move and resize. */
    void queryChanged();
    /** complete() put @p emoji in; the cursor belongs at @p position. */
    void completed(const QString &emoji, int position);

private:
    const std::unique_ptr<EmojiCompletionStatePrivate> d;
};

#endif
