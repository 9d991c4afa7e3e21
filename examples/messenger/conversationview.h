// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MESSENGER_CONVERSATIONVIEW_H
#define GLYPHMORPH_MESSENGER_CONVERSATIONVIEW_H

#include <QColor>
#include <QGraphicsWidget>

#include <memory>

class ConversationViewPrivate;

/**
 * The messages of one conversation as bubbles, newest at the bottom. Each message is kept as the
 * plain text that was sent and shown as the HTML the library makes of it for the account, so a
 * theme change only needs rerender().
 */
class ConversationView : public QGraphicsWidget
{
    Q_OBJECT

public:
    enum Direction
    {
        Incoming,
        Outgoing
    };

    struct Colors
    {
        QColor background;
        QColor incoming;
        QColor outgoing;
        QColor incomingText;
        QColor outgoingText;
    };

    explicit ConversationView(const QString &accountPath, QGraphicsItem *parent = nullptr);
    ~ConversationView() override;

    void addMessage(const QString &plainText, Direction direction);
    int count() const;
    /** The HTML shown for message @p index. */
    QString html(int index) const;
    /** Renders every message again from its plain text, with the account's current theme. */
    void rerender();
    void setColors(const Colors &colors);

protected:
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    void resizeEvent(QGraphicsSceneResizeEvent *event) override;
    void wheelEvent(QGraphicsSceneWheelEvent *event) override;

private:
    const std::unique_ptr<ConversationViewPrivate> d;
};

#endif
