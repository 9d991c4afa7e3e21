// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonselectorwidgetviewstylecontainer.h"

#include "emoticonselectorwidgetviewstyle.h"

class EmoticonSelectorWidgetViewStyleContainerPrivate
{
public:
    EmoticonSelectorWidgetViewStyleContainerPrivate() = default;
    virtual ~EmoticonSelectorWidgetViewStyleContainerPrivate() = default;
};

EmoticonSelectorWidgetViewStyleContainer::EmoticonSelectorWidgetViewStyleContainer()
    : EmoticonSelectorWidgetViewStyleContainer(new EmoticonSelectorWidgetViewStyleContainerPrivate)
{ }

EmoticonSelectorWidgetViewStyleContainer::EmoticonSelectorWidgetViewStyleContainer(
    EmoticonSelectorWidgetViewStyleContainerPrivate *dd)
    : d(dd)
{ }

EmoticonSelectorWidgetViewStyleContainer::~EmoticonSelectorWidgetViewStyleContainer() = default;

const EmoticonSelectorWidgetViewStyle *EmoticonSelectorWidgetViewStyleContainer::operator->() const
{
    // The style creator registered at load makes the styles; should it be missing, the defaults
    // stand in rather than a style of another class.
    if (const auto *style = qobject_cast<const EmoticonSelectorWidgetViewStyle *>(currentStyle()))
        return style;
    static const EmoticonSelectorWidgetViewStyle defaults;
    return &defaults;
}

QString EmoticonSelectorWidgetViewStyleContainer::styleType() const
{
    return QStringLiteral("EmoticonSelectorWidgetViewStyle");
}
