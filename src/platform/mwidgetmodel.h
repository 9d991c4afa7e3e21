// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGETMODEL_H
#define GLYPHMORPH_MWIDGETMODEL_H

#include "glyphmorph_export.h"

#include <QObject>

/** The data of a widget controller, kept apart from its view. Owned by the controller. */
class GLYPHMORPH_EXPORT MWidgetModel : public QObject
{
    Q_OBJECT

public:
    MWidgetModel();
    ~MWidgetModel() override;
};

#endif
