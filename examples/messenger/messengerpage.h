// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MESSENGER_MESSENGERPAGE_H
#define GLYPHMORPH_MESSENGER_MESSENGERPAGE_H

#include "conversationview.h"

#include <QGraphicsWidget>
#include <QPalette>

class MButton;
class MTextEdit;

/** The messenger's colours for a platform UI theme. */
struct Look
{
    QColor header;
    QColor headerText;
    QColor inputBar;
    QColor rule;
    QPalette editor;
    ConversationView::Colors conversation;
};

/** The colours for @p platformTheme ("night" is dark, every other theme light). */
Look lookFor(const QString &platformTheme);

/**
 * The messenger window's content: a header with the title and the menu button, the conversation,
 * and the input bar with the smiley button, the editor and the send button. The window makes the
 * parts; the page places and frames them.
 */
class MessengerPage : public QGraphicsWidget
{
public:
    using QGraphicsWidget::QGraphicsWidget;

    ConversationView *conversation = nullptr;
    MButton *menuButton = nullptr;
    MButton *smileyButton = nullptr;
    MTextEdit *editor = nullptr;
    MButton *sendButton = nullptr;
    QString title;
    QString subtitle;
    Look look;

    /** Places the parts in the page's current size. */
    void arrange();

protected:
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    void resizeEvent(QGraphicsSceneResizeEvent *event) override;
};

#endif
