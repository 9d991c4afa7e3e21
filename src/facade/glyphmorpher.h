// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_GLYPHMORPHER_H
#define GLYPHMORPH_GLYPHMORPHER_H

#include "glyphmorph_export.h"
#include "singletonbase.h"

#include <QObject>
#include <QString>

#include <cstddef>

class Glyphmorpher;
class MTextEdit;
class QMimeData;
class QTextCursor;
class QTextEdit;

// Declared before the class derives from it, so that the one instance pointer is exported.
extern template class GLYPHMORPH_EXPORT SingletonBase<Glyphmorpher>;

/**
 * The library's entry point for text transformations, shared by the whole process: the first user
 * that finds SingletonBase<Glyphmorpher>::m_pInstance null creates it with new.
 *
 * The readers turn editor content back into plain text: every emoticon image becomes the code it
 * carries, a paragraph boundary becomes "\n", everything else is copied. A code gets a space
 * before it unless the character before the image already keeps it apart. None of them changes
 * the document.
 */
class GLYPHMORPH_EXPORT Glyphmorpher : public QObject, public SingletonBase<Glyphmorpher>
{
    Q_OBJECT

public:
    /** Departures from the plain conversions, all off by default. */
    enum ConversionOption
    {
        DefaultConversion = 0x0,
        /** Plain text to HTML escapes the text (& < > " ') and gives each image its code,
         *  escaped, in alt and title; HTML to plain text restores codes from any image's alt
         *  (either quote style) and decodes entities, so that the pair gives back the text.
         *  Reading drops raw line ends as layout and turns "<br>" into a line feed; a carriage
         *  return is written as "&#13;". The text comes back exactly when the line break is
         *  "<br>" with at most line ends around it. */
        RoundTrip = 0x1,
        /** Plain text to HTML replaces a code only when a separator, the end of the text or a
         *  character that cannot go on a word follows it: anything but a letter, a number (any
         *  Unicode number: Nd, Nl, No) or a combining mark. The longest code on the way that
         *  passes is taken. */
        StrictCodeEnds = 0x2,
        /** Plain text to HTML writes the Unicode emoji a code stands for in place of its image,
         *  for every code that has one: an emoji sequence stands for itself, a shortcode for its
         *  emoji, and the built-in theme's codes for their emoji (":)" for 🙂, "<3" for ❤️).
         *  Codes without one still become images. */
        EmojiText = 0x4,
    };
    Q_DECLARE_FLAGS(ConversionOptions, ConversionOption)

    /** Makes sure the theme manager exists. */
    explicit Glyphmorpher(QObject *parent = nullptr);
    /** Deletes the theme manager, with the whole theme discovery; the next user starts a new one.
     */
    ~Glyphmorpher() override;

    /** @p plainText as HTML: every code of the account's theme found at a word start becomes an
     *  image tag, every line end @p lineBreak. Unchanged when the account has no theme. */
    QString transformPlainTextToHTML(
        const QString &plainText, const QString &accountPath, int, const QString &lineBreak);
    /** Emoticon HTML back to plain text: an image tag that carries its code in a single-quoted
     *  alt attribute and ends with width='N' height='N' becomes that code, "<br>" a line feed.
     *  Everything else stays as it is. */
    QString transformHTMLToPlainText(const QString &html);
    /** As above, with @p options; see ConversionOption. With RoundTrip the text is escaped even
     *  when the account has no theme. */
    QString transformPlainTextToHTML(const QString &plainText, const QString &accountPath, int,
        const QString &lineBreak, ConversionOptions options);
    QString transformHTMLToPlainText(const QString &html, ConversionOptions options);
    /** When the character before the cursor of @p textEdit is an emoticon image carrying its
     *  code, replaces it by the code's text in one undo step, leaves the cursor after it and
     *  returns true; the in-place replacement leaves that text as it is until it is edited.
     *  False, and no change, otherwise (no editor, a selection, text before the cursor, an
     *  image of a Unicode emoji, which Backspace removes whole). */
    bool revertEmoticonBeforeCursor(MTextEdit *textEdit);
    /** Inserts the image at @p imagePath, carrying @p characterCode, at the editor's cursor.
     *  Nothing happens for a null editor or an image that cannot be loaded. */
    void addEmoticonToTextEdit(
        MTextEdit *textEdit, const QString &characterCode, const QString &imagePath);
    /** Replaces the codes of the account's theme in @p textEdit by images, around the change
     *  recorded in its "positionOfChange" and "charactersPasted" properties, or everywhere when
     *  @p wholeDocument is true (the content is then first reduced to plain text). The editor's
     *  signals are blocked meanwhile and unblocked afterwards.
     *
     *  In a theme of Unicode emoji, the image of a shortcode is that of its emoji with the
     *  user's skin tone (EmojiPreferences::applySkinTone()); an emoji written out keeps what was
     *  written. Each emoji image made around the change counts as a use of its emoji
     *  (EmojiPreferences::noteEmojiUsed()), at most as many as the recent list holds; an image
     *  that grows (a tone or a joined part typed after it) counts once, as what it became: the
     *  use noted for its earlier form is taken back unless another was noted since. The pass
     *  over the whole document counts none. */
    void transformTextEditContentToEmoticonInPlace(
        MTextEdit *textEdit, const QString &accountPath, bool wholeDocument);

    /** The whole content of @p textEdit (a space before a code unless after a space or an
     *  image, none at the very start); empty for a null editor. */
    QString transformTextEditContentToPlainText(const MTextEdit *textEdit);

    /** The selected part of @p cursor (a space before a code unless after a space, an image or
     *  a paragraph boundary, and one at the very start); empty without a selection. The caller's
     *  cursor is not moved. */
    QString transformTextCursorContentToPlainText(QTextCursor *cursor);
    /** The whole document without the selected part of @p cursor; the text before and after the
     *  selection is joined directly. Empty without a selection. */
    QString transformInverseTextCursorContentToPlainText(QTextCursor *cursor);

    /**
     * A new QMimeData, owned by the caller, holding the selected part of @p cursor as text/plain
     * (empty without a selection): each emoticon image as its code, each emoji image as its
     * emoji, read as transformTextEditContentToPlainText() reads the whole content, so that
     * what is pasted becomes images again. No rich text: a rich paste into an editor would take
     * the images without their codes. MTextEdit copies through it; for a QTextEdit, return it
     * from an override of QTextEdit::createMimeDataFromSelection():
     * @code
     * QMimeData *createMimeDataFromSelection() const override
     * {
     *     return Glyphmorpher::createMimeDataFromSelection(textCursor());
     * }
     * @endcode
     */
    static QMimeData *createMimeDataFromSelection(const QTextCursor &cursor);

    /** The same three for a Qt Widgets QTextEdit, which has no length limit: it carries the change
     *  properties, and its own cursor is where an emoticon goes. */
    void addEmoticonToTextEdit(
        QTextEdit *textEdit, const QString &characterCode, const QString &imagePath);
    void transformTextEditContentToEmoticonInPlace(
        QTextEdit *textEdit, const QString &accountPath, bool wholeDocument);
    QString transformTextEditContentToPlainText(const QTextEdit *textEdit);
    /** A literal nullptr, which would otherwise fit both kinds of editor: nothing happens. */
    void addEmoticonToTextEdit(std::nullptr_t, const QString &, const QString &) { }
    void transformTextEditContentToEmoticonInPlace(std::nullptr_t, const QString &, bool) { }
    QString transformTextEditContentToPlainText(std::nullptr_t) { return QString(); }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Glyphmorpher::ConversionOptions)

#endif
