// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojicompletionstate_p.h"

#include "emojicompletionmodel.h"
#include "emojipreferences.h"

#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {
// Longer than any shortcode of the sets: bounds the look back from the cursor at each key.
constexpr int longestQuery = 96;

bool isShortcodeCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('+')
        || c == QLatin1Char('-');
}

bool isShortcodeWord(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), isShortcodeCharacter);
}
} // namespace

class EmojiCompletionStatePrivate
{
public:
    explicit EmojiCompletionStatePrivate(EmojiCompletionState *q)
        : q(q)
    { }
    EmojiCompletionStatePrivate(const EmojiCompletionStatePrivate &) = delete;
    EmojiCompletionStatePrivate &operator=(const EmojiCompletionStatePrivate &) = delete;

    bool findQuery(int *start, QString *query) const;
    QString imageCode(int position) const;
    void contentsChange(int position, int removed, int added);
    void refresh();
    void setRow(int row);

    EmojiCompletionState *const q;
    EmojiCompletionModel model;
    QPointer<QTextDocument> document;
    // Moves with edits as the editor's own cursor does, so a change is judged where the editor's
    // cursor ends up even before the editor says it moved (a QML TextEdit says so later).
    QTextCursor cursor;
    bool hasSelection = false;
    bool open = false;
    int start = -1;
    QString query;
    int row = 0;
    // The ':' whose completion Escape closed.
    int dismissedAt = -1;
    bool completing = false;
    bool refreshing = false;
};

QString EmojiCompletionStatePrivate::imageCode(int position) const
{
    QTextCursor at(document);
    at.setPosition(position + 1);
    const QTextCharFormat format = at.charFormat();
    return format.isImageFormat() ? format.property(QTextFormat::UserProperty).toString()
                                  : QString();
}

bool EmojiCompletionStatePrivate::findQuery(int *start, QString *query) const
{
    const int position = cursor.position();
    const int blockStart = document->findBlock(position).position();
    int from = position;
    while (from > blockStart && position - from <= longestQuery
        && isShortcodeCharacter(document->characterAt(from - 1)))
        --from;
    if (from == blockStart || position - from > longestQuery)
        return false;
    const int opener = from - 1;
    QString head;
    const QChar c = document->characterAt(opener);
    if (c == QChar::ObjectReplacementCharacter) {
        // The built-in theme makes ":p" an image before the next letter comes.
        const QString code = imageCode(opener);
        if (!code.startsWith(QLatin1Char(':')) || !isShortcodeWord(code.mid(1)))
            return false;
        head = code.mid(1);
    } else if (c != QLatin1Char(':')) {
        return false;
    }
    if (opener > blockStart) {
        const QChar before = document->characterAt(opener - 1);
        if (!before.isSpace() && before != QChar::ObjectReplacementCharacter)
            return false;
    }
    QString typed;
    typed.reserve(position - from);
    for (int p = from; p < position; ++p)
        typed += document->characterAt(p);
    *start = opener;
    *query = head + typed;
    return true;
}

void EmojiCompletionStatePrivate::contentsChange(int position, int removed, int added)
{
    if (dismissedAt >= position) {
        if (dismissedAt < position + removed)
            dismissedAt = -1;
        else
            dismissedAt += added - removed;
    }
    if (!completing)
        refresh();
}

void EmojiCompletionStatePrivate::refresh()
{
    int newStart = -1;
    QString newQuery;
    const bool candidate = document && !cursor.isNull() && !hasSelection
        && findQuery(&newStart, &newQuery)
        && newQuery.size() >= EmojiCompletionModel::minimumQueryLength && newStart != dismissedAt;
    bool nowOpen = false;
    refreshing = true;
    if (candidate) {
        model.setQuery(newQuery);
        // Prefix matches come first: the first row tells whether there is one.
        nowOpen = model.rowCount() > 0
            && model.index(0)
                   .data(EmojiCompletionModel::ShortcodeRole)
                   .toString()
                   .toCaseFolded()
                   .startsWith(newQuery.toCaseFolded());
    }
    if (!nowOpen) {
        newStart = -1;
        newQuery.clear();
        model.setQuery(QString());
    }
    refreshing = false;
    const bool changed = newStart != start || newQuery != query;
    start = newStart;
    query = newQuery;
    if (nowOpen != open) {
        open = nowOpen;
        row = 0;
        Q_EMIT q->openChanged(open);
        Q_EMIT q->currentRowChanged(row);
    } else if (open && changed) {
        setRow(0);
        Q_EMIT q->queryChanged();
    }
}

void EmojiCompletionStatePrivate::setRow(int newRow)
{
    if (newRow == row)
        return;
    row = newRow;
    Q_EMIT q->currentRowChanged(row);
}

EmojiCompletionState::EmojiCompletionState(QObject *parent)
    : QObject(parent)
    , d(new EmojiCompletionStatePrivate(this))
{
    // Recent emoji or another shortcode set reorder the rows.
    connect(&d->model, &QAbstractItemModel::modelReset, this, [this] {
        if (!d->open || d->refreshing)
            return;
        d->setRow(qBound(0, d->row, qMax(0, d->model.rowCount() - 1)));
        Q_EMIT queryChanged();
    });
}

EmojiCompletionState::~EmojiCompletionState() = default;

EmojiCompletionModel *EmojiCompletionState::model() const
{
    return &d->model;
}

QTextDocument *EmojiCompletionState::document() const
{
    return d->document;
}

void EmojiCompletionState::setDocument(QTextDocument *document)
{
    if (document == d->document)
        return;
    if (d->document)
        disconnect(d->document, nullptr, this, nullptr);
    d->document = document;
    d->cursor = document ? QTextCursor(document) : QTextCursor();
    d->dismissedAt = -1;
    if (document) {
        connect(document, &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                d->contentsChange(position, removed, added);
            });
    }
    d->refresh();
}

void EmojiCompletionState::setCursor(int position, bool hasSelection)
{
    if (!d->document)
        return;
    position = qBound(0, position, d->document->characterCount() - 1);
    if (position == d->cursor.position() && hasSelection == d->hasSelection)
        return;
    d->cursor.setPosition(position);
    d->hasSelection = hasSelection;
    if (!d->completing)
        d->refresh();
}

int EmojiCompletionState::cursorPosition() const
{
    return d->cursor.isNull() ? -1 : d->cursor.position();
}

bool EmojiCompletionState::isOpen() const
{
    return d->open;
}

int EmojiCompletionState::currentRow() const
{
    return d->open ? d->row : -1;
}

void EmojiCompletionState::setCurrentRow(int row)
{
    if (d->open && row >= 0 && row < d->model.rowCount())
        d->setRow(row);
}

int EmojiCompletionState::queryStart() const
{
    return d->start;
}

bool EmojiCompletionState::takesKey(int key, Qt::KeyboardModifiers modifiers) const
{
    if (!d->open || d->model.rowCount() == 0 || (modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

bool EmojiCompletionState::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!takesKey(key, modifiers))
        return false;
    const int rows = d->model.rowCount();
    switch (key) {
    case Qt::Key_Up:
        d->setRow((d->row + rows - 1) % rows);
        return true;
    case Qt::Key_Down:
        d->setRow((d->row + 1) % rows);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        complete();
        return true;
    case Qt::Key_Escape:
    default:
        dismiss();
        return true;
    }
}

int EmojiCompletionState::complete()
{
    if (!d->open)
        return -1;
    const QString emoji = d->model.index(d->row).data(EmojiCompletionModel::EmojiRole).toString();
    d->completing = true;
    QTextCursor edit(d->document);
    edit.setPosition(d->start);
    edit.setPosition(d->cursor.position(), QTextCursor::KeepAnchor);
    edit.beginEditBlock();
    edit.insertText(emoji);
    // The cursor stays behind the emoji even when the editor's replacement makes it an image.
    d->cursor.setPosition(edit.position());
    edit.endEditBlock();
    d->completing = false;
    const int position = d->cursor.position();
    // The editor's replacement notes each emoji it makes an image of: one use, not two.
    if (d->document->characterAt(position - 1) != QChar::ObjectReplacementCharacter)
        d->model.preferences()->noteEmojiUsed(emoji);
    d->refresh();
    Q_EMIT completed(emoji, position);
    return position;
}

void EmojiCompletionState::dismiss()
{
    if (!d->open)
        return;
    d->dismissedAt = d->start;
    d->refresh();
}
