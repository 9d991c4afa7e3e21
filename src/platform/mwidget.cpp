// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidget.h"

MWidget::MWidget(QGraphicsItem *parent)
    : QGraphicsWidget(parent)
{ }

MWidget::~MWidget() = default;
