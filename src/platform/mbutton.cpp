// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mbutton.h"

#include "maccessible_p.h"
#include "mframepainter_p.h"
#include "mtheme.h"
#include "mwidgetstyle.h"
#include "mwidgetstylecontainer.h"

#include <QFontMetricsF>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

class MButtonPrivate
{
public:
    explicit MButtonPrivate(MButton *q)
        : q(q)
    {
        style.initialize(QString(), QString(), QStringLiteral("MButtonStyle"));
        style.setPalette(q->palette());
    }
    ~MButtonPrivate() { MTheme::releasePixmap(icon); }
    MButtonPrivate(const MButtonPrivate &) = delete;
    MButtonPrivate &operator=(const MButtonPrivate &) = delete;

    QFont textFont() const;
    bool showsText() const { return textVisible && !text.isEmpty(); }
    void setDown(bool isDown);
    void finish(bool inside);

    MButton *const q;
    MWidgetStyleContainer style;
    QString text;
    QString iconID;
    bool textVisible = true;
    bool down = false;
    // Held down by a key rather than the mouse.
    bool keyDown = false;
    // Asked for again on every paint, so a switch of the platform UI theme shows at once.
    const QPixmap *icon = nullptr;
};

QFont MButtonPrivate::textFont() const
{
    QFont font = q->font();
    font.setPixelSize(style->fontSize());
    return font;
}

void MButtonPrivate::setDown(bool isDown)
{
    if (down == isDown)
        return;
    down = isDown;
    if (down)
        style.setModePressed();
    else
        style.setModeDefault();
    q->update();
}

void MButtonPrivate::finish(bool inside)
{
    if (!down)
        return;
    setDown(false);
    Q_EMIT q->released();
    if (inside)
        Q_EMIT q->clicked();
}

MButton::MButton(QGraphicsItem *parent, MWidgetModel *model)
    : MButton(QString(), QString(), parent, model)
{ }

MButton::MButton(const QString &text, QGraphicsItem *parent, MWidgetModel *model)
    : MButton(QString(), text, parent, model)
{ }

MButton::MButton(
    const QString &iconID, const QString &text, QGraphicsItem *parent, MWidgetModel *model)
    : MWidgetController(model, parent)
    , d(new MButtonPrivate(this))
{
    d->iconID = iconID;
    d->text = text;
    setAcceptedMouseButtons(Qt::LeftButton);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

MButton::~MButton() = default;

QString MButton::text() const
{
    return d->text;
}

void MButton::setText(const QString &text)
{
    d->text = text;
    updateGeometry();
    update();
}

QString MButton::iconID() const
{
    return d->iconID;
}

void MButton::setIconID(const QString &iconID)
{
    d->iconID = iconID;
    updateGeometry();
    update();
}

bool MButton::isTextVisible() const
{
    return d->textVisible;
}

void MButton::setTextVisible(bool visible)
{
    d->textVisible = visible;
    updateGeometry();
    update();
}

bool MButton::isDown() const
{
    return d->down;
}

void MButton::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const MWidgetStyle *style = d->style.currentStyle();
    MFramePainter::draw(painter, rect(), style);
    const QRectF content
        = rect().adjusted(style->padding(), style->padding(), -style->padding(), -style->padding());
    QRectF textArea = content;
    if (!d->iconID.isEmpty()) {
        // Drawn at the device's pixel density: sharp on a 2x screen, the icon still iconSize.
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1;
        const QPixmap *icon = MTheme::pixmap(d->iconID, style->iconSize() * ratio);
        MTheme::releasePixmap(d->icon);
        d->icon = icon;
        const QSizeF iconSize = style->iconSize();
        const qreal textHeight = d->showsText() ? QFontMetricsF(d->textFont()).height() : 0;
        const QPointF topLeft(content.center().x() - iconSize.width() / 2,
            content.center().y() - (iconSize.height() + textHeight) / 2);
        if (!icon->isNull()) {
            painter->drawPixmap(QRectF(topLeft, iconSize), *icon, QRectF(icon->rect()));
        }
        textArea.setTop(topLeft.y() + iconSize.height());
    }
    if (d->showsText()) {
        painter->setFont(d->textFont());
        painter->setPen(style->textColor());
        const QString shown
            = QFontMetricsF(d->textFont()).elidedText(d->text, Qt::ElideMiddle, textArea.width());
        painter->drawText(textArea, Qt::AlignCenter, shown);
    }
    if (hasFocus()) {
        const qreal width = 2;
        const qreal inset = style->borderWidth() + width / 2;
        const qreal radius = qMax<qreal>(0, style->borderRadius() - inset);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(palette().color(QPalette::Highlight), width));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(rect().adjusted(inset, inset, -inset, -inset), radius, radius);
        painter->restore();
    }
}

QSizeF MButton::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    if (which == Qt::MaximumSize)
        return MWidgetController::sizeHint(which, constraint);
    const MWidgetStyle *style = d->style.currentStyle();
    if (style->preferredSize().isValid())
        return QSizeF(style->preferredSize());
    QSizeF content;
    if (!d->iconID.isEmpty())
        content = QSizeF(style->iconSize());
    if (d->showsText()) {
        const QFontMetricsF metrics(d->textFont());
        content.setWidth(qMax(content.width(), metrics.horizontalAdvance(d->text)));
        content.setHeight(qMax<qreal>(content.height(), 0) + metrics.height());
    }
    return content.expandedTo(QSizeF(0, 0)) + QSizeF(2 * style->padding(), 2 * style->padding());
}

void MButton::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    d->setDown(true);
    Q_EMIT pressed();
    event->accept();
}

void MButton::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    event->accept();
}

void MButton::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    d->finish(rect().contains(event->pos()));
}

void MButton::ungrabMouseEvent(QEvent *)
{
    d->finish(false);
}

namespace {
bool isClickKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
        || event->key() == Qt::Key_Enter;
}
} // namespace

void MButton::keyPressEvent(QKeyEvent *event)
{
    if (!isClickKey(event) || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        MWidgetController::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && !d->down) {
        d->keyDown = true;
        d->setDown(true);
        Q_EMIT pressed();
    }
    event->accept();
}

void MButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!isClickKey(event) || !d->keyDown) {
        MWidgetController::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    d->keyDown = false;
    d->finish(true);
    event->accept();
}

void MButton::focusInEvent(QFocusEvent *event)
{
    MWidgetController::focusInEvent(event);
    update();
    MAccessible::notifyFocus(this);
}

void MButton::focusOutEvent(QFocusEvent *event)
{
    MWidgetController::focusOutEvent(event);
    // A key held down while the focus left would otherwise click the next time it is released.
    if (d->keyDown) {
        d->keyDown = false;
        d->finish(false);
    }
    update();
}

void MButton::styleChanged()
{
    d->style.initialize(objectName(), styleName(), QStringLiteral("MButtonStyle"));
    MWidgetController::styleChanged();
}

// The palette comes from the scene, so from the window's platform UI theme.
void MButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange) {
        d->style.setPalette(palette());
        update();
    }
    MWidgetController::changeEvent(event);
}
