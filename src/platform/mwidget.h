// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGET_H
#define GLYPHMORPH_MWIDGET_H

#include "glyphmorph_export.h"

#include <QGraphicsWidget>

/** The base of the platform's graphics widgets; a plain container when used by itself. */
class GLYPHMORPH_EXPORT MWidget : public QGraphicsWidget
{
    Q_OBJECT

public:
    explicit MWidget(QGraphicsItem *parent = nullptr);
    ~MWidget() override;
};

#endif
