// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonselectorwidgetviewstyle.h"

EmoticonSelectorWidgetViewStyleData::EmoticonSelectorWidgetViewStyleData() = default;

EmoticonSelectorWidgetViewStyleData::~EmoticonSelectorWidgetViewStyleData() = default;

EmoticonSelectorWidgetViewStyle::EmoticonSelectorWidgetViewStyle()
    : EmoticonSelectorWidgetViewStyle(new EmoticonSelectorWidgetViewStyleData)
{ }

EmoticonSelectorWidgetViewStyle::EmoticonSelectorWidgetViewStyle(
    EmoticonSelectorWidgetViewStyleData *data)
    : data(data)
{ }

EmoticonSelectorWidgetViewStyle::~EmoticonSelectorWidgetViewStyle() = default;

const int &EmoticonSelectorWidgetViewStyle::columnCount() const
{
    return data->columnCount;
}

void EmoticonSelectorWidgetViewStyle::setColumnCount(const int &columnCount)
{
    data->columnCount = columnCount;
}
