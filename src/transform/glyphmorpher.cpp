// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "glyphmorpher.h"

template class SingletonBase<Glyphmorpher>;

Glyphmorpher::Glyphmorpher(QObject *parent)
    : QObject(parent)
{ }

Glyphmorpher::~Glyphmorpher() = default;
