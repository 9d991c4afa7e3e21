// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonselectorwidgetmodel.h"

EmoticonSelectorWidgetModelData::EmoticonSelectorWidgetModelData() = default;

EmoticonSelectorWidgetModelData::~EmoticonSelectorWidgetModelData() = default;

EmoticonSelectorWidgetModel::EmoticonSelectorWidgetModel()
    : EmoticonSelectorWidgetModel(new EmoticonSelectorWidgetModelData)
{ }

EmoticonSelectorWidgetModel::EmoticonSelectorWidgetModel(EmoticonSelectorWidgetModelData *data)
    : d(data)
{ }

EmoticonSelectorWidgetModel::~EmoticonSelectorWidgetModel() = default;
