// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetmodel.h"

MWidgetModel::MWidgetModel() = default;

MWidgetModel::~MWidgetModel() = default;
