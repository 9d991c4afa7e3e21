// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojicompleter.h"

#include "emojicompletionmodel.h"
#include "emojicompletionstate_p.h"
#include "emojipickermodel.h"
#include "mtextedit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QVBoxLayout>

namespace {
constexpr int padding = 6;
constexpr int narrowest = 240;
constexpr int widest = 480;

QColor blend(const QColor &a, const QColor &b, qreal share)
{
    return QColor::fromRgbF(a.redF() * share + b.redF() * (1 - share),
        a.greenF() * share + b.greenF() * (1 - share), a.blueF() * share + b.blueF() * (1 - share));
}

// A row: the emoji drawn as the picker draws it, ":shortcode:", and the name, dimmer.
class CompletionDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    int emojiSide(const QStyleOptionViewItem &option) const
    {
        return qRound(option.fontMetrics.height() * 1.25);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QFontMetrics &metrics = option.fontMetrics;
        const int text = metrics.horizontalAdvance(shortcodeOf(index))
            + metrics.horizontalAdvance(QStringLiteral("  "))
            + metrics.horizontalAdvance(index.data(EmojiCompletionModel::NameRole).toString());
        return QSize(3 * padding + emojiSide(option) + text,
            qMax(emojiSide(option), metrics.height()) + 2 * padding);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const QPalette &palette = option.palette;
        const bool current = option.state & QStyle::State_Selected;
        painter->save();
        if (current)
            painter->fillRect(option.rect, palette.color(QPalette::Highlight));
        const QColor text = palette.color(current ? QPalette::HighlightedText : QPalette::Text);
        const QColor background = palette.color(current ? QPalette::Highlight : QPalette::Base);
        const int side = emojiSide(option);
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1;
        const QImage image = EmojiPickerModel::emojiImage(
            index.data(EmojiCompletionModel::EmojiRole).toString(), qRound(side * ratio));
        const QRect emojiRect(option.rect.left() + padding,
            option.rect.top() + (option.rect.height() - side) / 2, side, side);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        if (!image.isNull()) {
            painter->drawImage(emojiRect, image);
        } else {
            // No colour emoji font: the text as the system draws it.
            painter->setPen(text);
            painter->drawText(
                emojiRect, Qt::AlignCenter, index.data(EmojiCompletionModel::EmojiRole).toString());
        }
        QRect textRect = option.rect.adjusted(emojiRect.right() + 1 + padding, 0, -padding, 0);
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(text);
        const QString shortcode = shortcodeOf(index);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, shortcode);
        textRect.setLeft(textRect.left() + QFontMetrics(bold).horizontalAdvance(shortcode)
            + option.fontMetrics.horizontalAdvance(QStringLiteral("  ")));
        painter->setFont(option.font);
        painter->setPen(blend(text, background, 0.65));
        const QString name
            = option.fontMetrics.elidedText(index.data(EmojiCompletionModel::NameRole).toString(),
                Qt::ElideRight, textRect.width());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, name);
        painter->restore();
    }

private:
    static QString shortcodeOf(const QModelIndex &index)
    {
        return QLatin1Char(':') + index.data(EmojiCompletionModel::ShortcodeRole).toString()
            + QLatin1Char(':');
    }
};

// A window of its own that never takes the focus: the editor keeps it, and the completer
// filters the editor's keys instead.
class CompletionPopup : public QWidget
{
public:
    explicit CompletionPopup(QAbstractItemModel *model)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
        , list(new QListView(this))
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Mid);
        auto *layout = new QVBoxLayout(this);
        // The frame: the window's own background shows around the list.
        layout->setContentsMargins(1, 1, 1, 1);
        layout->addWidget(list);
        list->setModel(model);
        list->setItemDelegate(new CompletionDelegate(list));
        list->setFocusPolicy(Qt::NoFocus);
        list->setFrameShape(QFrame::NoFrame);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setUniformItemSizes(true);
    }

    /** As large as the rows need, within bounds. */
    QSize fittingSize() const
    {
        const QAbstractItemModel *model = list->model();
        int width = narrowest;
        int height = 0;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QSize hint = list->sizeHintForIndex(model->index(row, 0));
            width = qMax(width, hint.width());
            height += hint.height();
        }
        return QSize(qMin(width, widest) + 2, height + 2);
    }

    QListView *const list;
};

QTextCursor editorCursor(QTextEdit *textEdit, MTextEdit *mTextEdit)
{
    if (textEdit)
        return textEdit->textCursor();
    return mTextEdit ? mTextEdit->textCursor() : QTextCursor();
}

// The cursor's line in document coordinates, which MTextEdit's text item draws at its origin.
QRectF documentCursorRect(const QTextCursor &cursor)
{
    const QTextBlock block = cursor.block();
    const QRectF blockRect = cursor.document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.isValid()
        ? block.layout()->lineForTextPosition(cursor.positionInBlock())
        : QTextLine();
    if (!line.isValid())
        return QRectF(blockRect.topLeft(), QSizeF(1, blockRect.height()));
    return QRectF(blockRect.left() + line.cursorToX(cursor.positionInBlock()),
        blockRect.top() + line.y(), 1, line.height());
}

// The view that shows @p item to the user: the one in the active window, else any shown one.
QGraphicsView *viewOf(const QGraphicsItem *item)
{
    if (!item->scene())
        return nullptr;
    QGraphicsView *shown = nullptr;
    for (QGraphicsView *view : item->scene()->views()) {
        if (view->isActiveWindow())
            return view;
        if (!shown && view->isVisible())
            shown = view;
    }
    return shown;
}
} // namespace

class EmojiCompleterPrivate
{
public:
    explicit EmojiCompleterPrivate(EmojiCompleter *q)
        : q(q)
    { }
    EmojiCompleterPrivate(const EmojiCompleterPrivate &) = delete;
    EmojiCompleterPrivate &operator=(const EmojiCompleterPrivate &) = delete;

    void attach(QObject *editor, QObject *keys, QTextDocument *document);
    void detach();
    void noteCursor();
    bool editorHasFocus() const;
    /** The cursor in screen coordinates; null when the editor is not on screen. */
    QRect globalCursorRect() const;
    void updatePopup();
    void placePopup();

    EmojiCompleter *const q;
    EmojiCompletionState state;
    QPointer<QTextEdit> textEdit;
    QPointer<MTextEdit> mTextEdit;
    // The same editor as a QObject: read while it is destroyed, when the typed pointers above
    // would cast what is no longer a QTextEdit.
    QPointer<QObject> editorObject;
    // What receives the editor's key events: the QTextEdit, or MTextEdit's inner text item.
    QPointer<QObject> keys;
    std::unique_ptr<CompletionPopup> popup;
    bool popupEnabled = true;
    // From the editor's focus events: while they are delivered, hasFocus() may say either.
    bool focused = false;
};

void EmojiCompleterPrivate::attach(QObject *editor, QObject *keyReceiver, QTextDocument *document)
{
    editorObject = editor;
    keys = keyReceiver;
    keys->installEventFilter(q);
    QObject::connect(editor, &QObject::destroyed, q, [this] { detach(); });
    focused = editorHasFocus();
    state.setDocument(document);
    noteCursor();
}

void EmojiCompleterPrivate::detach()
{
    if (keys)
        keys->removeEventFilter(q);
    if (editorObject)
        QObject::disconnect(editorObject, nullptr, q, nullptr);
    editorObject = nullptr;
    keys = nullptr;
    textEdit = nullptr;
    mTextEdit = nullptr;
    state.setDocument(nullptr);
}

void EmojiCompleterPrivate::noteCursor()
{
    const QTextCursor cursor = editorCursor(textEdit, mTextEdit);
    if (!cursor.isNull())
        state.setCursor(cursor.position(), cursor.hasSelection());
}

bool EmojiCompleterPrivate::editorHasFocus() const
{
    if (textEdit)
        return textEdit->hasFocus();
    return mTextEdit && mTextEdit->hasFocus();
}

QRect EmojiCompleterPrivate::globalCursorRect() const
{
    if (textEdit) {
        const QRect rect = textEdit->cursorRect();
        return QRect(textEdit->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    if (!mTextEdit)
        return QRect();
    const QGraphicsItem *item = mTextEdit->focusProxy() ? mTextEdit->focusProxy() : mTextEdit;
    QGraphicsView *view = viewOf(item);
    if (!view)
        return QRect();
    const QRect rect
        = view->mapFromScene(item->mapToScene(documentCursorRect(mTextEdit->textCursor())))
              .boundingRect();
    return QRect(view->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

void EmojiCompleterPrivate::updatePopup()
{
    const bool show = popupEnabled && state.isOpen() && focused;
    if (!show) {
        if (popup)
            popup->hide();
        return;
    }
    if (!popup) {
        popup = std::make_unique<CompletionPopup>(state.model());
        QObject::connect(
            popup->list, &QAbstractItemView::clicked, q, [this](const QModelIndex &row) {
                state.setCurrentRow(row.row());
                state.complete();
            });
    }
    // The editor's colours and font: the list reads as part of it, in a dark palette too.
    popup->setPalette(textEdit ? textEdit->palette() : mTextEdit->palette());
    popup->list->setFont(textEdit ? textEdit->font() : mTextEdit->document()->defaultFont());
    popup->list->setCurrentIndex(state.model()->index(state.currentRow(), 0));
    placePopup();
    popup->show();
}

void EmojiCompleterPrivate::placePopup()
{
    const QRect cursor = globalCursorRect();
    const QSize size = popup->fittingSize();
    QScreen *screen = cursor.isNull() ? nullptr : QGuiApplication::screenAt(cursor.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), size);
    QPoint at(cursor.left(), cursor.bottom() + 1);
    // Above the line where there is no room below it.
    if (at.y() + size.height() > area.bottom() && cursor.top() - size.height() >= area.top())
        at.setY(cursor.top() - size.height());
    at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() + 1 - size.width())));
    popup->setGeometry(QRect(at, size));
}

EmojiCompleter::EmojiCompleter(QObject *parent)
    : QObject(parent)
    , d(new EmojiCompleterPrivate(this))
{
    connect(&d->state, &EmojiCompletionState::openChanged, this, [this](bool open) {
        d->updatePopup();
        Q_EMIT openChanged(open);
    });
    connect(&d->state, &EmojiCompletionState::queryChanged, this, [this] { d->updatePopup(); });
    connect(&d->state, &EmojiCompletionState::currentRowChanged, this, [this](int row) {
        if (d->popup && d->state.isOpen()) {
            const QModelIndex index = d->state.model()->index(row, 0);
            d->popup->list->setCurrentIndex(index);
            d->popup->list->scrollTo(index);
        }
        Q_EMIT currentRowChanged(d->state.isOpen() ? row : -1);
    });
    connect(&d->state, &EmojiCompletionState::completed, this,
        [this](const QString &emoji, int position) {
            if (d->textEdit) {
                QTextCursor cursor = d->textEdit->textCursor();
                cursor.setPosition(position);
                d->textEdit->setTextCursor(cursor);
            } else if (d->mTextEdit) {
                d->mTextEdit->setCursorPosition(position);
            }
            Q_EMIT completed(emoji);
        });
}

EmojiCompleter::EmojiCompleter(QTextEdit *editor, QObject *parent)
    : EmojiCompleter(parent ? parent : editor)
{
    setEditor(editor);
}

EmojiCompleter::EmojiCompleter(MTextEdit *editor, QObject *parent)
    : EmojiCompleter(parent ? parent : editor)
{
    setEditor(editor);
}

EmojiCompleter::~EmojiCompleter()
{
    d->detach();
}

QObject *EmojiCompleter::editor() const
{
    if (d->textEdit)
        return d->textEdit;
    return d->mTextEdit;
}

void EmojiCompleter::setEditor(QTextEdit *editor)
{
    if (editor && editor == d->textEdit)
        return;
    d->detach();
    if (!editor)
        return;
    d->textEdit = editor;
    connect(editor, &QTextEdit::cursorPositionChanged, this, [this] { d->noteCursor(); });
    connect(editor, &QTextEdit::selectionChanged, this, [this] { d->noteCursor(); });
    d->attach(editor, editor, editor->document());
}

void EmojiCompleter::setEditor(MTextEdit *editor)
{
    if (editor && editor == d->mTextEdit)
        return;
    d->detach();
    if (!editor)
        return;
    d->mTextEdit = editor;
    connect(editor, &MTextEdit::cursorPositionChanged, this, [this] { d->noteCursor(); });
    connect(editor, &MTextEdit::selectionChanged, this, [this] { d->noteCursor(); });
    // Keys go to the text item inside, a graphics object whose QObject event filters the scene
    // runs before the item sees the event.
    QGraphicsItem *proxy = editor->focusProxy();
    QGraphicsObject *keys = proxy ? proxy->toGraphicsObject() : nullptr;
    d->attach(editor, keys ? static_cast<QObject *>(keys) : editor, editor->document());
}

void EmojiCompleter::setEditor(std::nullptr_t)
{
    d->detach();
}

EmojiCompletionModel *EmojiCompleter::model() const
{
    return d->state.model();
}

bool EmojiCompleter::isOpen() const
{
    return d->state.isOpen();
}

int EmojiCompleter::currentRow() const
{
    return d->state.currentRow();
}

void EmojiCompleter::setCurrentRow(int row)
{
    d->state.setCurrentRow(row);
}

bool EmojiCompleter::isPopupEnabled() const
{
    return d->popupEnabled;
}

void EmojiCompleter::setPopupEnabled(bool enabled)
{
    d->popupEnabled = enabled;
    d->updatePopup();
}

QWidget *EmojiCompleter::popup() const
{
    return d->popup.get();
}

bool EmojiCompleter::complete()
{
    return d->state.complete() >= 0;
}

void EmojiCompleter::dismiss()
{
    d->state.dismiss();
}

bool EmojiCompleter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != d->keys)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // A window's shortcut on Return or Escape must not take the key from the list.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (d->state.takesKey(key->key(), key->modifiers())) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        return d->state.handleKey(key->key(), key->modifiers());
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        d->focused = event->type() == QEvent::FocusIn;
        d->updatePopup();
        return false;
    default:
        return false;
    }
}
