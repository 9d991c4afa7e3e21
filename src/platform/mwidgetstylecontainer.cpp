// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetstylecontainer.h"

#include "mstylecreator.h"
#include "mstylesheet_p.h"
#include "mwidgetstyle.h"

#include <map>

class MWidgetStyleContainerPrivate
{
public:
    QString objectName;
    QString styleName;
    QString type;
    QString mode;
    QPalette palette;
    std::map<QString, std::unique_ptr<MWidgetStyle>> styles;
};

MWidgetStyleContainer::MWidgetStyleContainer()
    : d(new MWidgetStyleContainerPrivate)
{ }

MWidgetStyleContainer::~MWidgetStyleContainer() = default;

void MWidgetStyleContainer::initialize(
    const QString &objectName, const QString &styleName, const QString &type)
{
    d->objectName = objectName;
    d->styleName = styleName;
    d->type = type;
    d->styles.clear();
}

QString MWidgetStyleContainer::objectName() const
{
    return d->objectName;
}

QString MWidgetStyleContainer::styleName() const
{
    return d->styleName;
}

void MWidgetStyleContainer::setPalette(const QPalette &palette)
{
    if (d->palette == palette)
        return;
    d->palette = palette;
    d->styles.clear();
}

void MWidgetStyleContainer::setModeDefault()
{
    d->mode.clear();
}

void MWidgetStyleContainer::setModePressed()
{
    d->mode = QStringLiteral("pressed");
}

QString MWidgetStyleContainer::currentMode() const
{
    return d->mode;
}

const MWidgetStyle *MWidgetStyleContainer::currentStyle() const
{
    std::unique_ptr<MWidgetStyle> &style = d->styles[d->mode];
    if (!style) {
        const QString type = styleType();
        style.reset(MStyleCreatorBase::createStyle(type));
        if (!style)
            style.reset(new MWidgetStyle);
        MStyleSheet::apply(style.get(), type, d->objectName, d->styleName, d->mode,
            MStyleSheet::libraryRules(), d->palette);
    }
    return style.get();
}

const MWidgetStyle *MWidgetStyleContainer::operator->() const
{
    return currentStyle();
}

QString MWidgetStyleContainer::styleType() const
{
    return d->type.isEmpty() ? QStringLiteral("MWidgetStyle") : d->type;
}
