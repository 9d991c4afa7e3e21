// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mtextedit.h"
#include "mtextedit_p.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGraphicsRectItem>
#include <QGraphicsSceneResizeEvent>
#include <QGraphicsTextItem>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPalette>
#include <QPen>
#include <QStyleOptionGraphicsItem>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

class MTextEditPrivate;

namespace {
constexpr qreal frameWidth = 1;
constexpr qreal editorWidth = 300;
constexpr int editorLines = 3;
constexpr int minimumColumns = 4;

MTextEditClipboard::MimeSource mimeSource = nullptr;

// QGraphicsTextItem has no cursor or selection signals; reporting after every event it handled
// covers keyboard, mouse and input method alike.
class EditorTextItem : public QGraphicsTextItem
{
public:
    using QGraphicsTextItem::QGraphicsTextItem;

    MTextEditPrivate *editor = nullptr;

    // Without the dashed outline QGraphicsTextItem draws around itself when focused: the
    // editor's frame shows focus.
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override
    {
        QStyleOptionGraphicsItem plain(*option);
        plain.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected);
        QGraphicsTextItem::paint(painter, &plain, widget);
    }

protected:
    bool sceneEvent(QEvent *event) override;
};

// What user input does to a length-limited editor.
enum class Input
{
    Pass,
    // May insert past the limit: runs inside an edit block, so that the trim joins it in one
    // undo step.
    Guard,
    // Would only insert characters that have no room: dropped, leaving no empty undo step.
    Reject,
};

// How many characters a key press makes the text item insert, the way Qt's text controls decide.
int typedLength(const QKeyEvent *key)
{
    if (key->matches(QKeySequence::InsertParagraphSeparator)
        || key->matches(QKeySequence::InsertLineSeparator))
        return 1;
    const QString text = key->text();
    if (text.isEmpty())
        return 0;
    const QChar first = text.at(0);
    if (first.category() == QChar::Other_Format)
        return text.size();
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return 0;
    const bool accepted = first.isPrint() || first.category() == QChar::Other_PrivateUse
        || first == QLatin1Char('\t')
        || (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
    return accepted ? text.size() : 0;
}
} // namespace

class MTextEditPrivate
{
public:
    explicit MTextEditPrivate(MTextEdit *q);
    MTextEditPrivate(const MTextEditPrivate &) = delete;
    MTextEditPrivate &operator=(const MTextEditPrivate &) = delete;

    int length() const { return document->characterCount() - 1; }
    /** What the content may hold: the limit, or more where the library left more. */
    int limit() const { return maxLength < 0 ? -1 : qMax(maxLength, allowance); }
    /** Content left longer than the limit may shrink, never grow again. */
    void shrinkAllowance() { allowance = qMin(allowance, length() > maxLength ? length() : -1); }
    Input classify(const QEvent *event) const;
    void contentsChange(int position, int added);
    void contentsChanged();
    void removeRange(QTextCursor &cursor, int from, int to) const;
    void noteCursor();
    void eventHandled(QEvent::Type type);
    bool copyKey(const QKeyEvent *key);
    void copy(bool cut);
    void takeOverMenu(const QWidget *popupBefore);
    void layoutContents();
    void ensureCursorVisible();
    void updateFrame();

    MTextEdit *const q;
    QTextDocument *const document;
    QGraphicsRectItem *const frame;
    EditorTextItem *const item;
    int maxLength = -1;
    // The length of content the library left beyond the limit; -1 for none.
    int allowance = -1;
    int exemptions = 0;
    bool readOnly = false;
    bool trimming = false;
    bool trimmed = false;
    int undoSteps = 0;
    bool changed = false; // contentsChange came since the last contentsChanged
    int lastPosition = 0;
    int lastAnchor = 0;
    bool hadSelection = false;
};

bool EditorTextItem::sceneEvent(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && editor && editor->copyKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        editor->eventHandled(type);
        return true;
    }
    const QWidget *popupBefore
        = type == QEvent::GraphicsSceneContextMenu ? QApplication::activePopupWidget() : nullptr;
    const Input input = editor ? editor->classify(event) : Input::Pass;
    if (input == Input::Reject) {
        event->accept();
        return true;
    }
    QTextCursor block;
    if (input == Input::Guard) {
        block = textCursor();
        block.beginEditBlock();
    }
    const bool handled = QGraphicsTextItem::sceneEvent(event);
    if (input == Input::Guard)
        block.endEditBlock();
    if (editor) {
        if (type == QEvent::GraphicsSceneContextMenu)
            editor->takeOverMenu(popupBefore);
        editor->eventHandled(type);
    }
    return handled;
}

MTextEditPrivate::MTextEditPrivate(MTextEdit *q)
    : q(q)
    , document(new QTextDocument(q))
    , frame(new QGraphicsRectItem(q))
    , item(new EditorTextItem(q))
{ }

Input MTextEditPrivate::classify(const QEvent *event) const
{
    if (maxLength < 0 || readOnly)
        return Input::Pass;
    const QTextCursor cursor = item->textCursor();
    const int room = limit() - length() + cursor.selectionEnd() - cursor.selectionStart();
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste))
            return Input::Guard;
        const int incoming = typedLength(key);
        if (incoming == 0)
            return Input::Pass;
        const QString text = key->text();
        int fits = qMin(room, incoming);
        if (fits > 0 && fits < text.size() && text.at(fits - 1).isHighSurrogate())
            --fits;
        if (fits <= 0)
            return Input::Reject;
        return fits < incoming ? Input::Guard : Input::Pass;
    }
    case QEvent::InputMethod:
        return static_cast<const QInputMethodEvent *>(event)->commitString().size() > room
            ? Input::Guard
            : Input::Pass;
    case QEvent::GraphicsSceneDrop:
        return Input::Guard;
    default:
        return Input::Pass;
    }
}

void MTextEditPrivate::contentsChange(int position, int added)
{
    if (trimming)
        return;
    changed = true;
    const int excess = limit() < 0 || exemptions > 0 ? 0 : length() - limit();
    if (excess <= 0) {
        shrinkAllowance();
        undoSteps = document->availableUndoSteps();
        return;
    }
    const bool undone = document->isUndoRedoEnabled() && document->availableUndoSteps() < undoSteps;
    trimming = true;
    trimmed = true;
    // Joins an edit made in an edit block (all user input that may overflow is), so one undo
    // step takes back both and undo never replays content beyond the limit.
    QTextCursor cursor(document);
    cursor.joinPreviousEditBlock();
    const int end = qBound(0, position + added, length());
    const int limit = this->limit();
    removeRange(cursor, qMax(qMax(position, 0), end - excess), end);
    if (length() > limit)
        removeRange(cursor, limit, length());
    cursor.endEditBlock();
    trimming = false;
    undoSteps = document->availableUndoSteps();
    // An undo that overflows took back a trim that had an undo step of its own. Trimming again
    // would make every later undo repeat it, so the history goes instead; the document is still
    // inside its undo here.
    if (undone) {
        QMetaObject::invokeMethod(
            q,
            [this] {
                document->clearUndoRedoStacks();
                undoSteps = 0;
            },
            Qt::QueuedConnection);
    }
}

void MTextEditPrivate::contentsChanged()
{
    // The trim, made while the document reports the change, reports one more of its own; an edit
    // block that changed nothing reports one too.
    if (trimming || !changed)
        return;
    changed = false;
    undoSteps = document->availableUndoSteps();
    Q_EMIT q->textChanged();
    noteCursor();
    ensureCursorVisible();
}

// Widened so that no half of a surrogate pair is left behind.
void MTextEditPrivate::removeRange(QTextCursor &cursor, int from, int to) const
{
    const auto splitsPair = [this](int position) {
        return position > 0 && position < length()
            && document->characterAt(position - 1).isHighSurrogate()
            && document->characterAt(position).isLowSurrogate();
    };
    if (splitsPair(from))
        --from;
    if (splitsPair(to))
        ++to;
    if (from >= to)
        return;
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void MTextEditPrivate::noteCursor()
{
    const QTextCursor cursor = item->textCursor();
    const int position = cursor.position();
    const int anchor = cursor.anchor();
    const bool hasSelection = cursor.hasSelection();
    const bool moved = position != lastPosition;
    const bool selectionChanged
        = hasSelection != hadSelection || (hasSelection && (moved || anchor != lastAnchor));
    const bool copyChanged = hasSelection != hadSelection;
    lastPosition = position;
    lastAnchor = anchor;
    hadSelection = hasSelection;
    if (moved) {
        ensureCursorVisible();
        Q_EMIT q->cursorPositionChanged();
    }
    if (selectionChanged)
        Q_EMIT q->selectionChanged();
    if (copyChanged)
        Q_EMIT q->copyAvailable(hasSelection);
}

void MTextEditPrivate::eventHandled(QEvent::Type type)
{
    if (type == QEvent::FocusIn || type == QEvent::FocusOut)
        updateFrame();
    noteCursor();
}

// The text item copies an image as U+FFFC: the library's source reads it as what it stands for.
bool MTextEditPrivate::copyKey(const QKeyEvent *key)
{
    const bool cut = key->matches(QKeySequence::Cut);
    if (!mimeSource || (cut && readOnly) || !(cut || key->matches(QKeySequence::Copy)))
        return false;
    copy(cut);
    return true;
}

void MTextEditPrivate::copy(bool cut)
{
    QTextCursor cursor = item->textCursor();
    if (!mimeSource || !cursor.hasSelection())
        return;
    QGuiApplication::clipboard()->setMimeData(mimeSource(cursor));
    if (cut && !readOnly) {
        cursor.removeSelectedText();
        item->setTextCursor(cursor);
    }
}

// The text item's context menu, just opened, copies the text item's way; its Copy and Cut, named
// by Qt as the icons they show, copy through the source instead.
void MTextEditPrivate::takeOverMenu(const QWidget *popupBefore)
{
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!mimeSource || !menu || menu == popupBefore)
        return;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        const bool cut = action->objectName() == QLatin1String("edit-cut");
        if (!cut && action->objectName() != QLatin1String("edit-copy"))
            continue;
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QObject::connect(action, &QAction::triggered, q, [this, cut] { copy(cut); });
    }
}

void MTextEditPrivate::layoutContents()
{
    const qreal width = q->size().width() - 2 * frameWidth;
    item->setTextWidth(width > 0 ? width : -1);
    updateFrame();
    ensureCursorVisible();
}

// Content taller than the editor scrolls so that the cursor's line stays in view.
void MTextEditPrivate::ensureCursorVisible()
{
    const qreal viewHeight = q->size().height() - 2 * frameWidth;
    const qreal margin = document->documentMargin();
    qreal offset = item->y() - frameWidth;
    const QTextCursor cursor = item->textCursor();
    const QTextBlock block = cursor.block();
    // blockBoundingRect lays the block out first, so its lines are known.
    const QRectF blockRect = document->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.isValid()
        ? block.layout()->lineForTextPosition(cursor.positionInBlock())
        : QTextLine();
    if (line.isValid()) {
        const qreal top = blockRect.top() + line.y() - margin;
        const qreal bottom = blockRect.top() + line.y() + line.height() + margin;
        if (top + offset < 0)
            offset = -top;
        else if (bottom + offset > viewHeight)
            offset = viewHeight - bottom;
    }
    offset = qBound(qMin<qreal>(0, viewHeight - document->size().height()), offset, qreal(0));
    item->setPos(frameWidth, frameWidth + offset);
}

void MTextEditPrivate::updateFrame()
{
    const QPalette palette = q->palette();
    const qreal half = frameWidth / 2;
    frame->setRect(QRectF(QPointF(), q->size()).adjusted(half, half, -half, -half));
    frame->setPen(
        QPen(palette.color(item->hasFocus() ? QPalette::Highlight : QPalette::Mid), frameWidth));
    frame->setBrush(palette.base());
    item->setDefaultTextColor(palette.color(QPalette::Text));
}

MTextEdit::MTextEdit(QGraphicsItem *parent)
    : QGraphicsWidget(parent)
    , d(std::make_unique<MTextEditPrivate>(this))
{
    // contentsChange, which the length limit relies on, is only emitted once a layout exists.
    d->document->documentLayout();
    d->item->setDocument(d->document);
    d->item->editor = d.get();
    d->frame->setAcceptedMouseButtons(Qt::NoButton);
    setReadOnly(false);
    setFlag(QGraphicsItem::ItemClipsChildrenToShape);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(d->item);

    connect(d->document, &QTextDocument::contentsChange, this,
        [this](int position, int, int added) { d->contentsChange(position, added); });
    connect(d->document, &QTextDocument::contentsChanged, this, [this] { d->contentsChanged(); });

    resize(preferredSize());
}

MTextEdit::MTextEdit(const QString &text, QGraphicsItem *parent)
    : MTextEdit(parent)
{
    setText(text);
}

MTextEdit::~MTextEdit()
{
    // The child items and the document outlive this body; nothing may reach the private part
    // once it is gone (losing focus while the items are torn down delivers events).
    d->item->editor = nullptr;
    disconnect(d->document, nullptr, this, nullptr);
}

QTextDocument *MTextEdit::document() const
{
    return d->document;
}

QTextCursor MTextEdit::textCursor() const
{
    return d->item->textCursor();
}

void MTextEdit::setTextCursor(const QTextCursor &cursor)
{
    // A cursor of another document would make the editor edit that document instead.
    if (cursor.isNull() || cursor.document() != d->document)
        return;
    d->item->setTextCursor(cursor);
    d->noteCursor();
}

int MTextEdit::cursorPosition() const
{
    return d->item->textCursor().position();
}

bool MTextEdit::setCursorPosition(int index)
{
    if (index < 0 || index > d->length())
        return false;
    QTextCursor cursor = d->item->textCursor();
    cursor.setPosition(index);
    d->item->setTextCursor(cursor);
    d->noteCursor();
    return true;
}

int MTextEdit::maxLength() const
{
    return d->maxLength;
}

void MTextEdit::setMaxLength(int length)
{
    length = qMax(length, -1);
    d->allowance = -1;
    const bool stricter = length >= 0 && (d->maxLength < 0 || length < d->maxLength);
    d->maxLength = length;
    if (!stricter)
        return;
    if (d->length() > length) {
        QTextCursor cursor(d->document);
        d->removeRange(cursor, length, d->length());
    }
    // Undo could bring back content longer than the new limit.
    d->document->clearUndoRedoStacks();
    d->undoSteps = 0;
}

bool MTextEdit::setText(const QString &text)
{
    // The document decides what a line break is, so the limit applies to what it made of the text.
    d->trimmed = false;
    if (d->exemptions == 0)
        d->allowance = -1;
    d->document->setPlainText(text);
    return !d->trimmed;
}

QString MTextEdit::text() const
{
    return d->document->toPlainText();
}

bool MTextEdit::isReadOnly() const
{
    return d->readOnly;
}

void MTextEdit::setReadOnly(bool readOnly)
{
    d->readOnly = readOnly;
    d->item->setTextInteractionFlags(readOnly
            ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
            : Qt::TextEditorInteraction);
}

void MTextEdit::resizeEvent(QGraphicsSceneResizeEvent *event)
{
    QGraphicsWidget::resizeEvent(event);
    d->layoutContents();
}

QSizeF MTextEdit::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    const QFontMetricsF metrics(d->document->defaultFont());
    const qreal chrome = 2 * (frameWidth + d->document->documentMargin());
    switch (which) {
    case Qt::MinimumSize:
        return QSizeF(minimumColumns * metrics.averageCharWidth(), metrics.lineSpacing())
            + QSizeF(chrome, chrome);
    case Qt::PreferredSize:
        return QSizeF(editorWidth, editorLines * metrics.lineSpacing() + chrome);
    default:
        return QGraphicsWidget::sizeHint(which, constraint);
    }
}

void MTextEdit::changeEvent(QEvent *event)
{
    QGraphicsWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        d->updateFrame();
}

void MTextEdit::focusInEvent(QFocusEvent *event)
{
    QGraphicsWidget::focusInEvent(event);
    if (!d->item->hasFocus())
        d->item->setFocus(event->reason());
}

MTextEditLimitExemption::MTextEditLimitExemption(MTextEdit *editor)
    : m_editor(editor)
{
    ++m_editor->d->exemptions;
}

MTextEditLimitExemption::~MTextEditLimitExemption()
{
    MTextEditPrivate *d = m_editor->d.get();
    if (--d->exemptions == 0 && d->maxLength >= 0)
        d->allowance = d->length() > d->maxLength ? d->length() : -1;
}

void MTextEditClipboard::setMimeSource(MimeSource source)
{
    mimeSource = source;
}
