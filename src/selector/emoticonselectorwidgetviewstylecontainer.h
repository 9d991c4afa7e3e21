// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONSELECTORWIDGETVIEWSTYLECONTAINER_H
#define GLYPHMORPH_EMOTICONSELECTORWIDGETVIEWSTYLECONTAINER_H

#include "glyphmorph_export.h"
#include "mwidgetstylecontainer.h"

#include <memory>

class EmoticonSelectorWidgetViewStyle;
class EmoticonSelectorWidgetViewStyleContainerPrivate;

/** The styles of the emoticon selector's view, of type "EmoticonSelectorWidgetViewStyle". */
class GLYPHMORPH_EXPORT EmoticonSelectorWidgetViewStyleContainer : public MWidgetStyleContainer
{
public:
    EmoticonSelectorWidgetViewStyleContainer();
    /** Takes ownership of @p dd. */
    explicit EmoticonSelectorWidgetViewStyleContainer(
        EmoticonSelectorWidgetViewStyleContainerPrivate *dd);
    ~EmoticonSelectorWidgetViewStyleContainer() override;

    /** The style of the current mode; never null. */
    const EmoticonSelectorWidgetViewStyle *operator->() const;
    QString styleType() const override;

private:
    const std::unique_ptr<EmoticonSelectorWidgetViewStyleContainerPrivate> d;
};

#endif
