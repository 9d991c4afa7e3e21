// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The built-in theme, ":/default_theme_resources/default_theme.xml".
//
// rcc writes the resource data, qInitResources_default_theme() and
// qCleanupResources_default_theme() and a static guard object that registers the resource when the
// library loads and unregisters it when it unloads. The functions are exported: declared here with
// the export attribute before the generated definitions, which the generated file itself cannot
// carry.
#include "glyphmorph_export.h"

GLYPHMORPH_EXPORT int qInitResources_default_theme();
GLYPHMORPH_EXPORT int qCleanupResources_default_theme();

#include "qrc_default_theme.cpp"
