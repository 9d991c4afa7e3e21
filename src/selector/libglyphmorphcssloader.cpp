// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "libglyphmorphcssloader.h"

template class SingletonBase<LibGlyphmorphCSSLoader>;

LibGlyphmorphCSSLoader::LibGlyphmorphCSSLoader(QObject *parent)
    : QObject(parent)
{ }

LibGlyphmorphCSSLoader::~LibGlyphmorphCSSLoader() = default;
