// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetstyle.h"

class MWidgetStylePrivate
{
public:
    QColor backgroundColor;
    QColor borderColor;
    int borderWidth = 1;
    int borderRadius = 0;
    QString roundedCorners = QStringLiteral("all");
    int padding = 0;
    QSize preferredSize;
    QSize iconSize = QSize(32, 32);
    QColor textColor = QColor(0x20, 0x20, 0x20);
    int fontSize = 16;
};

MWidgetStyle::MWidgetStyle()
    : d(new MWidgetStylePrivate)
{ }

MWidgetStyle::~MWidgetStyle() = default;

QColor MWidgetStyle::backgroundColor() const
{
    return d->backgroundColor;
}

void MWidgetStyle::setBackgroundColor(const QColor &color)
{
    d->backgroundColor = color;
}

QColor MWidgetStyle::borderColor() const
{
    return d->borderColor;
}

void MWidgetStyle::setBorderColor(const QColor &color)
{
    d->borderColor = color;
}

int MWidgetStyle::borderWidth() const
{
    return d->borderWidth;
}

void MWidgetStyle::setBorderWidth(int width)
{
    d->borderWidth = qMax(0, width);
}

int MWidgetStyle::borderRadius() const
{
    return d->borderRadius;
}

void MWidgetStyle::setBorderRadius(int radius)
{
    d->borderRadius = qMax(0, radius);
}

QString MWidgetStyle::roundedCorners() const
{
    return d->roundedCorners;
}

void MWidgetStyle::setRoundedCorners(const QString &corners)
{
    d->roundedCorners = corners;
}

int MWidgetStyle::padding() const
{
    return d->padding;
}

void MWidgetStyle::setPadding(int padding)
{
    d->padding = qMax(0, padding);
}

QSize MWidgetStyle::preferredSize() const
{
    return d->preferredSize;
}

void MWidgetStyle::setPreferredSize(const QSize &size)
{
    d->preferredSize = size;
}

QSize MWidgetStyle::iconSize() const
{
    return d->iconSize;
}

void MWidgetStyle::setIconSize(const QSize &size)
{
    d->iconSize = size;
}

QColor MWidgetStyle::textColor() const
{
    return d->textColor;
}

void MWidgetStyle::setTextColor(const QColor &color)
{
    d->textColor = color;
}

int MWidgetStyle::fontSize() const
{
    return d->fontSize;
}

void MWidgetStyle::setFontSize(int pixels)
{
    d->fontSize = qBound(1, pixels, 200);
}
