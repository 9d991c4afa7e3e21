// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidget.h"

#include "maccessible_p.h"

#include <QAccessible>

class MWidgetPrivate
{
public:
    QString accessibleName;
};

MWidget::MWidget(QGraphicsItem *parent)
    : QGraphicsWidget(parent)
    , d(new MWidgetPrivate)
{
    MAccessible::install();
}

MWidget::~MWidget() = default;

QString MWidget::accessibleName() const
{
    return d->accessibleName;
}

void MWidget::setAccessibleName(const QString &name)
{
    if (d->accessibleName == name)
        return;
    d->accessibleName = name;
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
