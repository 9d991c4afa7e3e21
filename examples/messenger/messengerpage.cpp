// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "messengerpage.h"

#include <mbutton.h>
#include <mtextedit.h>

#include <QGraphicsSceneResizeEvent>
#include <QPainter>

namespace {
constexpr qreal headerHeight = 64;
constexpr qreal inputHeight = 84;
constexpr qreal gap = 10;
} // namespace

Look lookFor(const QString &platformTheme)
{
    Look look;
    const bool night = platformTheme == QLatin1String("night");
    look.header = night ? QColor(0x15, 0x18, 0x1d) : QColor(0x2f, 0x6d, 0xb5);
    look.headerText = night ? QColor(0xe6, 0xe6, 0xe6) : QColor(Qt::white);
    look.inputBar = night ? QColor(0x26, 0x2b, 0x33) : QColor(0xfa, 0xfa, 0xf8);
    look.rule = night ? QColor(0x3a, 0x40, 0x4a) : QColor(0xd6, 0xd2, 0xc8);
    look.editor.setColor(QPalette::Base, night ? QColor(0x1b, 0x1f, 0x25) : QColor(Qt::white));
    look.editor.setColor(
        QPalette::Text, night ? QColor(0xe6, 0xe6, 0xe6) : QColor(0x2b, 0x29, 0x25));
    look.editor.setColor(
        QPalette::Mid, night ? QColor(0x44, 0x4c, 0x56) : QColor(0xb9, 0xb3, 0xa6));
    look.editor.setColor(
        QPalette::Highlight, night ? QColor(0x5a, 0x9b, 0xe6) : QColor(0x3b, 0x82, 0xd6));
    if (night) {
        look.conversation = { QColor(0x1e, 0x22, 0x28), QColor(0x2d, 0x33, 0x3b),
            QColor(0x2f, 0x5f, 0x8f), QColor(0xe6, 0xe6, 0xe6), QColor(Qt::white) };
    } else {
        look.conversation = { QColor(0xee, 0xf1, 0xf5), QColor(Qt::white), QColor(0x3b, 0x82, 0xd6),
            QColor(0x2b, 0x29, 0x25), QColor(Qt::white) };
    }
    return look;
}

void MessengerPage::arrange()
{
    const QSizeF area = size();
    const QSizeF menuSize = menuButton->preferredSize();
    menuButton->setGeometry(QRectF(
        QPointF(area.width() - gap - menuSize.width(), (headerHeight - menuSize.height()) / 2),
        menuSize));
    conversation->setGeometry(
        QRectF(0, headerHeight, area.width(), area.height() - headerHeight - inputHeight));
    const qreal barTop = area.height() - inputHeight;
    const QSizeF smileySize = smileyButton->preferredSize();
    const QSizeF sendSize = sendButton->preferredSize().expandedTo(QSizeF(88, 0));
    const qreal editorHeight = inputHeight - 2 * gap;
    smileyButton->setGeometry(
        QRectF(QPointF(gap, barTop + (inputHeight - smileySize.height()) / 2), smileySize));
    sendButton->setGeometry(QRectF(QPointF(area.width() - gap - sendSize.width(),
                                       barTop + (inputHeight - sendSize.height()) / 2),
        sendSize));
    const qreal editorLeft = 2 * gap + smileySize.width();
    editor->setGeometry(QRectF(editorLeft, barTop + gap,
        area.width() - editorLeft - 2 * gap - sendSize.width(), editorHeight));
}

void MessengerPage::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRectF area = rect();
    painter->fillRect(QRectF(0, 0, area.width(), headerHeight), look.header);
    painter->fillRect(
        QRectF(0, area.height() - inputHeight, area.width(), inputHeight), look.inputBar);
    painter->setPen(look.rule);
    painter->drawLine(QPointF(0, area.height() - inputHeight + 0.5),
        QPointF(area.width(), area.height() - inputHeight + 0.5));

    const qreal textWidth = area.width() - 3 * gap - menuButton->size().width();
    QFont font = painter->font();
    font.setPixelSize(20);
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(look.headerText);
    painter->drawText(QRectF(2 * gap, 8, textWidth, 28), Qt::AlignLeft | Qt::AlignVCenter, title);
    font.setPixelSize(13);
    font.setBold(false);
    painter->setFont(font);
    painter->drawText(
        QRectF(2 * gap, 36, textWidth, 20), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
}

void MessengerPage::resizeEvent(QGraphicsSceneResizeEvent *event)
{
    QGraphicsWidget::resizeEvent(event);
    arrange();
}
