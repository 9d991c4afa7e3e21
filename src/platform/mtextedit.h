// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MTEXTEDIT_H
#define GLYPHMORPH_MTEXTEDIT_H

#include "glyphmorph_export.h"

#include <QGraphicsWidget>
#include <QTextCursor>

#include <memory>

class QTextDocument;
class MTextEditPrivate;

/**
 * An editable multi-line text editor for graphics-view user interfaces.
 *
 * The content is a QTextDocument: images in it (QTextImageFormat with a resource of the document)
 * are shown. Positions are document positions. Dynamic properties may be set on the editor.
 */
class GLYPHMORPH_EXPORT MTextEdit : public QGraphicsWidget
{
    Q_OBJECT

public:
    explicit MTextEdit(QGraphicsItem *parent = nullptr);
    explicit MTextEdit(const QString &text, QGraphicsItem *parent = nullptr);
    ~MTextEdit() override;

    QTextDocument *document() const;
    /** A copy of the editor's cursor; it edits the editor's document. */
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor &cursor);
    int cursorPosition() const;
    /** Moves the cursor; false (and no move) for a position outside the document. */
    bool setCursorPosition(int index);

    /** The most characters the content may hold; -1 (the default) for no limit. */
    int maxLength() const;
    /**
     * Truncates the content when it is longer than @p length, and drops the undo history.
     * Content that grows past the limit is cut where it went in; an edit made in an edit block
     * is undone together with its cut.
     */
    void setMaxLength(int length);

    /** Replaces the whole content with plain @p text (cut at maxLength()); false when cut. */
    bool setText(const QString &text);
    /** The content as plain text (images as U+FFFC). */
    QString text() const;

    bool isReadOnly() const;
    void setReadOnly(bool readOnly);

Q_SIGNALS:
    void textChanged();
    void cursorPositionChanged();
    void selectionChanged();
    void copyAvailable(bool yes);

protected:
    void resizeEvent(QGraphicsSceneResizeEvent *event) override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class MTextEditLimitExemption;
    const std::unique_ptr<MTextEditPrivate> d;
};

#endif
