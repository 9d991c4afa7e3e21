// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mframepainter_p.h"

#include "mwidgetstyle.h"

#include <QPainter>
#include <QPainterPath>

namespace {
QPainterPath framePath(const QRectF &rect, qreal radius, bool left, bool right)
{
    radius = qMin(radius, qMin(rect.width(), rect.height()) / 2);
    QPainterPath path;
    if (radius <= 0 || (!left && !right)) {
        path.addRect(rect);
        return path;
    }
    path.addRoundedRect(rect, radius, radius);
    // Square off the corners of the side that is not rounded.
    QPainterPath squared;
    if (!left)
        squared.addRect(QRectF(rect.left(), rect.top(), rect.width() / 2, rect.height()));
    if (!right)
        squared.addRect(QRectF(rect.center().x(), rect.top(), rect.width() / 2, rect.height()));
    return path.united(squared);
}
} // namespace

void MFramePainter::draw(QPainter *painter, const QRectF &rect, const MWidgetStyle *style)
{
    const bool border = style->borderColor().isValid() && style->borderWidth() > 0;
    if (!style->backgroundColor().isValid() && !border)
        return;
    const QString corners = style->roundedCorners();
    const bool all = corners == QLatin1String("all");
    const qreal inset = border ? style->borderWidth() / 2.0 : 0;
    const QRectF frame = rect.adjusted(inset, inset, -inset, -inset);
    const QPainterPath path = framePath(frame, style->borderRadius(),
        all || corners == QLatin1String("left"), all || corners == QLatin1String("right"));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(style->backgroundColor().isValid() ? QBrush(style->backgroundColor())
                                                         : QBrush(Qt::NoBrush));
    painter->setPen(border ? QPen(style->borderColor(), style->borderWidth()) : QPen(Qt::NoPen));
    painter->drawPath(path);
    painter->restore();
}
