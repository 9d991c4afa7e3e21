// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_QML_EMOTICONREPLACER_H
#define GLYPHMORPH_QML_EMOTICONREPLACER_H

#include <QAbstractItemModel>
#include <QObject>
#include <QPointer>
#include <QQuickTextDocument>
#include <QString>

class EmojiCompletionState;
class QTextDocument;

/**
 * The QML element EmoticonReplacer: codes typed or pasted into a TextEdit become images of the
 * account's theme as the user types, with the library's editor walk.
 *
 *     TextEdit { id: edit }
 *     EmoticonReplacer { id: replacer; document: edit.textDocument }
 *
 * With the TextEdit's cursor it also completes shortcodes: typing ':' at a word start and two
 * or more letters of a shortcode (":thu") opens the completion while a shortcode begins with
 * them; completions holds its rows (roles "emoji", "shortcode", "name"; see
 * EmojiCompletionModel) and completionIndex the highlighted one. While it is open Up and Down
 * move (wrapping around), Tab, Return and Enter complete and Escape closes it for that
 * shortcode; every other key, and every key while it is closed, is the TextEdit's.
 *
 *     TextEdit {
 *         id: edit
 *         Keys.onPressed: function(event) {
 *             event.accepted = replacer.handleCompletionKey(event.key, event.modifiers)
 *         }
 *     }
 *     EmoticonReplacer { id: replacer; document: edit.textDocument
 *                        cursorPosition: edit.cursorPosition }
 *     EmojiCompletionPopup { replacer: replacer; textEdit: edit }
 */
class EmoticonReplacer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QQuickTextDocument *document READ document WRITE setDocument NOTIFY documentChanged)
    Q_PROPERTY(QString accountPath READ accountPath WRITE setAccountPath NOTIFY accountPathChanged)
    /** The shortcode completions: an EmojiCompletionModel, empty while closed. */
    Q_PROPERTY(QAbstractItemModel *completions READ completions CONSTANT)
    /** The TextEdit's cursorPosition, bound to it. */
    Q_PROPERTY(
        int cursorPosition READ cursorPosition WRITE setCursorPosition NOTIFY cursorPositionChanged)
    Q_PROPERTY(bool completionOpen READ completionOpen NOTIFY completionOpenChanged)
    /** The highlighted row of completions; -1 while closed. */
    Q_PROPERTY(int completionIndex READ completionIndex WRITE setCompletionIndex NOTIFY
            completionIndexChanged)

public:
    explicit EmoticonReplacer(QObject *parent = nullptr);
    ~EmoticonReplacer() override;

    QQuickTextDocument *document() const;
    void setDocument(QQuickTextDocument *document);
    QString accountPath() const;
    void setAccountPath(const QString &accountPath);
    QAbstractItemModel *completions() const;
    int cursorPosition() const;
    void setCursorPosition(int position);
    bool completionOpen() const;
    int completionIndex() const;
    void setCompletionIndex(int index);

    /** Inserts the image at @p imagePath, carrying @p code, at document position @p position
     *  (a picked emoticon goes to the TextEdit's cursorPosition). */
    Q_INVOKABLE void insertEmoticon(int position, const QString &code, const QString &imagePath);
    /** The content as plain text, images as their codes: what is sent. */
    Q_INVOKABLE QString plainText() const;
    /** Replaces the codes of the whole content again, for instance after a theme change. */
    Q_INVOKABLE void replaceAll();
    /** Up, Down, Tab, Return, Enter and Escape while the completion is open, with no modifiers
     *  but the keypad's (@p modifiers: the key event's): true when it took the key. */
    Q_INVOKABLE bool handleCompletionKey(int key, int modifiers = Qt::NoModifier);
    /** Replaces the shortcode by the highlighted emoji in one undo step and notes its use; the
     *  cursor position behind it, or -1 while closed. */
    Q_INVOKABLE int acceptCompletion();
    /** Closes the completion until another shortcode is typed. */
    Q_INVOKABLE void closeCompletion();

Q_SIGNALS:
    void documentChanged();
    void accountPathChanged();
    void cursorPositionChanged();
    void completionOpenChanged();
    void completionIndexChanged();

private:
    void contentsChange(int position, int added);
    QTextDocument *textDocument() const;
    bool hasSelection() const;

    QPointer<QQuickTextDocument> m_document;
    QString m_accountPath;
    EmojiCompletionState *const m_completion;
    int m_cursorPosition = 0;
    // The walk edits the document, which reports its own edits again.
    bool m_replacing = false;
};

#endif
