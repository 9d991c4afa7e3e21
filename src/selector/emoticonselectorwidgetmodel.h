// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONSELECTORWIDGETMODEL_H
#define GLYPHMORPH_EMOTICONSELECTORWIDGETMODEL_H

#include "glyphmorph_export.h"
#include "mwidgetmodel.h"

#include <memory>

/** The data object of EmoticonSelectorWidgetModel; it has no fields. */
class GLYPHMORPH_EXPORT EmoticonSelectorWidgetModelData
{
public:
    EmoticonSelectorWidgetModelData();
    virtual ~EmoticonSelectorWidgetModelData();
};

/** The model of EmoticonSelectorWidget. It carries no data: the widget holds the theme's. */
class GLYPHMORPH_EXPORT EmoticonSelectorWidgetModel : public MWidgetModel
{
    Q_OBJECT

public:
    EmoticonSelectorWidgetModel();
    /** Takes ownership of @p data. */
    explicit EmoticonSelectorWidgetModel(EmoticonSelectorWidgetModelData *data);
    ~EmoticonSelectorWidgetModel() override;

private:
    const std::unique_ptr<EmoticonSelectorWidgetModelData> d;
};

#endif
