// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetview.h"

#include "mframepainter_p.h"
#include "mwidgetcontroller.h"
#include "mwidgetstylecontainer.h"

class MWidgetViewPrivate
{
public:
    MWidgetController *controller = nullptr;
    std::unique_ptr<MWidgetStyleContainer> style;
};

MWidgetView::MWidgetView(MWidgetController *controller)
    : d(new MWidgetViewPrivate)
{
    d->controller = controller;
}

MWidgetView::~MWidgetView() = default;

void MWidgetView::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (d->controller)
        MFramePainter::draw(painter, d->controller->rect(), style().currentStyle());
}

QSizeF MWidgetView::sizeHint(Qt::SizeHint, const QSizeF &) const
{
    return QSizeF();
}

void MWidgetView::updateStyle()
{
    if (d->style && d->controller) {
        d->style->initialize(d->controller->objectName(), d->controller->styleName(),
            QString::fromLatin1(styleType()));
    }
}

MWidgetStyleContainer *MWidgetView::createStyleContainer() const
{
    return new MWidgetStyleContainer;
}

const char *MWidgetView::styleType() const
{
    return staticStyleType();
}

const MWidgetStyleContainer &MWidgetView::style() const
{
    if (!d->style) {
        d->style.reset(createStyleContainer());
        d->style->initialize(d->controller ? d->controller->objectName() : QString(),
            d->controller ? d->controller->styleName() : QString(),
            QString::fromLatin1(styleType()));
    }
    return *d->style;
}

MWidgetStyleContainer &MWidgetView::style()
{
    return const_cast<MWidgetStyleContainer &>(static_cast<const MWidgetView *>(this)->style());
}

MWidgetController *MWidgetView::controller() const
{
    return d->controller;
}
