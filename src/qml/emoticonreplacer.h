// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_QML_EMOTICONREPLACER_H
#define GLYPHMORPH_QML_EMOTICONREPLACER_H

#include <QObject>
#include <QPointer>
#include <QQuickTextDocument>
#include <QString>

class QTextDocument;

/**
 * The QML element EmoticonReplacer: codes typed or pasted into a TextEdit become images of the
 * account's theme as the user types, with the library's editor walk.
 *
 *     TextEdit { id: edit }
 *     EmoticonReplacer { id: replacer; document: edit.textDocument }
 */
class EmoticonReplacer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QQuickTextDocument *document READ document WRITE setDocument NOTIFY documentChanged)
    Q_PROPERTY(QString accountPath READ accountPath WRITE setAccountPath NOTIFY accountPathChanged)

public:
    explicit EmoticonReplacer(QObject *parent = nullptr);
    ~EmoticonReplacer() override;

    QQuickTextDocument *document() const;
    void setDocument(QQuickTextDocument *document);
    QString accountPath() const;
    void setAccountPath(const QString &accountPath);

    /** Inserts the image at @p imagePath, carrying @p code, at document position @p position
     *  (a picked emoticon goes to the TextEdit's cursorPosition). */
    Q_INVOKABLE void insertEmoticon(int position, const QString &code, const QString &imagePath);
    /** The content as plain text, images as their codes: what is sent. */
    Q_INVOKABLE QString plainText() const;
    /** Replaces the codes of the whole content again, for instance after a theme change. */
    Q_INVOKABLE void replaceAll();

Q_SIGNALS:
    void documentChanged();
    void accountPathChanged();

private:
    void contentsChange(int position, int added);
    QTextDocument *textDocument() const;

    QPointer<QQuickTextDocument> m_document;
    QString m_accountPath;
    // The walk edits the document, which reports its own edits again.
    bool m_replacing = false;
};

#endif
