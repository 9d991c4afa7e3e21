// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "conversationview.h"

#include <glyphmorpher.h>

#include <QGraphicsSceneResizeEvent>
#include <QGraphicsSceneWheelEvent>
#include <QGraphicsTextItem>
#include <QPainter>
#include <QTextDocument>

#include <vector>

namespace {
constexpr qreal margin = 14;
constexpr qreal spacing = 10;
constexpr qreal radius = 14;
constexpr qreal bubblePadding = 6;
constexpr qreal widestShare = 0.7;
constexpr int fontPixelSize = 17;

Glyphmorpher *morpher()
{
    if (!Glyphmorpher::m_pInstance)
        Glyphmorpher::m_pInstance = new Glyphmorpher;
    return Glyphmorpher::m_pInstance;
}

// A message: its HTML in a text item, on a rounded bubble of its own colour.
class Bubble : public QGraphicsTextItem
{
public:
    Bubble(const QString &html, const QColor &fill, const QColor &text, QGraphicsItem *parent)
        : QGraphicsTextItem(parent)
        , m_fill(fill)
    {
        QFont bubbleFont = font();
        bubbleFont.setPixelSize(fontPixelSize);
        setFont(bubbleFont);
        document()->setDocumentMargin(bubblePadding + 2);
        setDefaultTextColor(text);
        setHtml(html);
    }

    // As wide as the text needs, wrapped at @p widest.
    void fitWidth(qreal widest)
    {
        setTextWidth(-1);
        setTextWidth(qMin(document()->idealWidth() + 1, widest));
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override
    {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(m_fill);
        painter->drawRoundedRect(boundingRect(), radius, radius);
        QGraphicsTextItem::paint(painter, option, widget);
    }

private:
    const QColor m_fill;
};

struct Message
{
    QString plainText;
    ConversationView::Direction direction;
    QString html;
};
} // namespace

class ConversationViewPrivate
{
public:
    ConversationViewPrivate(ConversationView *q, const QString &accountPath)
        : q(q)
        , accountPath(accountPath)
        , content(new QGraphicsRectItem(q))
    {
        content->setFlag(QGraphicsItem::ItemHasNoContents);
    }

    QString toHtml(const QString &plainText) const
    {
        return morpher()->transformPlainTextToHTML(
            plainText.toHtmlEscaped(), accountPath, 0, QStringLiteral("<br>"));
    }
    void makeBubble(const Message &message);
    void layoutBubbles();
    void placeContent();

    ConversationView *const q;
    const QString accountPath;
    QGraphicsRectItem *const content;
    std::vector<Message> messages;
    std::vector<Bubble *> bubbles;
    ConversationView::Colors colors { QColor(0xf4, 0xf1, 0xea), QColor(0xff, 0xff, 0xff),
        QColor(0x3b, 0x82, 0xd6), QColor(0x2b, 0x29, 0x25), QColor(0xff, 0xff, 0xff) };
    qreal contentHeight = 0;
    // How far the user scrolled up from the newest message.
    qreal scrolledUp = 0;
};

void ConversationViewPrivate::makeBubble(const Message &message)
{
    const bool outgoing = message.direction == ConversationView::Outgoing;
    bubbles.push_back(new Bubble(message.html, outgoing ? colors.outgoing : colors.incoming,
        outgoing ? colors.outgoingText : colors.incomingText, content));
}

void ConversationViewPrivate::layoutBubbles()
{
    const qreal width = q->size().width();
    const qreal widest = qMax<qreal>(80, (width - 2 * margin) * widestShare);
    qreal y = margin;
    for (size_t i = 0; i < bubbles.size(); ++i) {
        Bubble *bubble = bubbles[i];
        bubble->fitWidth(widest);
        const qreal bubbleWidth = bubble->boundingRect().width();
        const bool outgoing = messages[i].direction == ConversationView::Outgoing;
        bubble->setPos(outgoing ? width - margin - bubbleWidth : margin, y);
        y += bubble->boundingRect().height() + spacing;
    }
    contentHeight = y - spacing + margin;
    placeContent();
}

// Short conversations start at the top; longer ones show the newest message unless scrolled.
void ConversationViewPrivate::placeContent()
{
    const qreal overflow = qMax<qreal>(0, contentHeight - q->size().height());
    scrolledUp = qBound<qreal>(0, scrolledUp, overflow);
    content->setPos(0, -overflow + scrolledUp);
}

ConversationView::ConversationView(const QString &accountPath, QGraphicsItem *parent)
    : QGraphicsWidget(parent)
    , d(std::make_unique<ConversationViewPrivate>(this, accountPath))
{
    setFlag(QGraphicsItem::ItemClipsChildrenToShape);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

ConversationView::~ConversationView() = default;

void ConversationView::addMessage(const QString &plainText, Direction direction)
{
    d->messages.push_back({ plainText, direction, d->toHtml(plainText) });
    d->makeBubble(d->messages.back());
    d->scrolledUp = 0;
    d->layoutBubbles();
}

int ConversationView::count() const
{
    return int(d->messages.size());
}

QString ConversationView::html(int index) const
{
    return index >= 0 && index < count() ? d->messages[size_t(index)].html : QString();
}

// New bubbles rather than new HTML in the old ones: a document keeps the images it loaded once,
// and the built-in theme's images keep their paths when the platform UI theme redraws them.
void ConversationView::rerender()
{
    for (Bubble *bubble : d->bubbles)
        delete bubble;
    d->bubbles.clear();
    for (Message &message : d->messages) {
        message.html = d->toHtml(message.plainText);
        d->makeBubble(message);
    }
    d->layoutBubbles();
}

void ConversationView::setColors(const Colors &colors)
{
    d->colors = colors;
    rerender();
    update();
}

void ConversationView::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->fillRect(rect(), d->colors.background);
}

void ConversationView::resizeEvent(QGraphicsSceneResizeEvent *event)
{
    QGraphicsWidget::resizeEvent(event);
    d->layoutBubbles();
}

void ConversationView::wheelEvent(QGraphicsSceneWheelEvent *event)
{
    d->scrolledUp += event->delta() / 4.0;
    d->placeContent();
    event->accept();
}
