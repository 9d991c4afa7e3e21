// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONSELECTORWIDGETVIEWSTYLE_H
#define GLYPHMORPH_EMOTICONSELECTORWIDGETVIEWSTYLE_H

#include "glyphmorph_export.h"
#include "mwidgetstyle.h"

#include <memory>

/** The attribute values of EmoticonSelectorWidgetViewStyle. */
class GLYPHMORPH_EXPORT EmoticonSelectorWidgetViewStyleData
{
public:
    EmoticonSelectorWidgetViewStyleData();
    virtual ~EmoticonSelectorWidgetViewStyleData();

    int columnCount = 0;
};

/**
 * The style of the emoticon selector's view. Its attribute "column-count" is the number of
 * columns of the landscape grid; the portrait grid has half as many. 0 when no stylesheet sets it.
 */
class GLYPHMORPH_EXPORT EmoticonSelectorWidgetViewStyle : public MWidgetStyle
{
    Q_OBJECT
    Q_PROPERTY(int columnCount READ columnCount WRITE setColumnCount
            DESIGNABLE true SCRIPTABLE true STORED true)

public:
    EmoticonSelectorWidgetViewStyle();
    /** Takes ownership of @p data. */
    explicit EmoticonSelectorWidgetViewStyle(EmoticonSelectorWidgetViewStyleData *data);
    ~EmoticonSelectorWidgetViewStyle() override;

    const int &columnCount() const;
    void setColumnCount(const int &columnCount);

private:
    const std::unique_ptr<EmoticonSelectorWidgetViewStyleData> data;
};

#endif
