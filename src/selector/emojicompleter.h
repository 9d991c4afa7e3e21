// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOJICOMPLETER_H
#define GLYPHMORPH_EMOJICOMPLETER_H

#include "glyphmorph_export.h"

#include <QObject>

#include <cstddef>
#include <memory>

class EmojiCompleterPrivate;
class EmojiCompletionModel;
class MTextEdit;
class QTextEdit;
class QWidget;

/**
 * Shortcode completion in an editor: typing ':' at a word start and two or more letters of a
 * shortcode (":thu") opens a list of the matching emoji under the cursor (emoji, ":shortcode:",
 * name; see EmojiCompletionModel), as long as a shortcode begins with what was typed. While it
 * is open, Up and Down choose a row (wrapping around), Tab, Return and Enter replace the
 * shortcode by the row's emoji in one undo step (one use of it: noted by the editor's
 * replacement where that makes it an image, else by the completer) and Escape closes the list for
 * that shortcode; every other key, and every key while it is closed, goes to the editor. The
 * editor keeps the focus throughout.
 *
 *     auto *completer = new EmojiCompleter(editor); // a QTextEdit or an MTextEdit
 *
 * Applications with their own list use model(), isOpen(), currentRow() and complete().
 */
class GLYPHMORPH_EXPORT EmojiCompleter : public QObject
{
    Q_OBJECT

public:
    explicit EmojiCompleter(QObject *parent = nullptr);
    /** Completes in @p editor; the completer is the editor's child unless @p parent is given. */
    explicit EmojiCompleter(QTextEdit *editor, QObject *parent = nullptr);
    explicit EmojiCompleter(MTextEdit *editor, QObject *parent = nullptr);
    ~EmojiCompleter() override;

    /** The editor completed in, a QTextEdit or an MTextEdit; null for none. */
    QObject *editor() const;
    /** Completes in @p editor instead (null: in none). */
    void setEditor(QTextEdit *editor);
    void setEditor(MTextEdit *editor);
    void setEditor(std::nullptr_t);

    /** The completions of the shortcode being typed; empty while closed. */
    EmojiCompletionModel *model() const;
    bool isOpen() const;
    /** The highlighted row; -1 while closed. */
    int currentRow() const;
    void setCurrentRow(int row);

    /** Whether the completer shows its own list (the default); without it, the keys above still
     *  work while open. */
    bool isPopupEnabled() const;
    void setPopupEnabled(bool enabled);
    /** The list window, made when first shown; null before. */
    QWidget *popup() const;

public Q_SLOTS:
    /** Replaces the shortcode by the current row's emoji; false while closed. */
    bool complete();
    /** Closes the list until another shortcode is typed. */
    void dismiss();

Q_SIGNALS:
    void openChanged(bool open);
    void currentRowChanged(int row);
    /** The shortcode was replaced by @p emoji. */
    void completed(const QString &emoji);

private:
    bool eventFilter(QObject *watched, QEvent *event) override;

    const std::unique_ptr<EmojiCompleterPrivate> d;
};

#endif
