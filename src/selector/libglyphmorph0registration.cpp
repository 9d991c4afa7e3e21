// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The library's registration with the platform: objects built when the library is loaded, in the
// order of their definitions below, and destroyed in reverse order when it is unloaded. The names
// of the theme file's elements and attributes, which come before them, are constants that need no
// construction at run time.
#include "emoticonselectorwidget.h"
#include "emoticonselectorwidgetview.h"
#include "emoticonselectorwidgetviewstyle.h"
#include "glyphmorph_export.h"
#include "mlibrary.h"
#include "mstylecreator.h"
#include "mviewcreator.h"
#include "mwidgetcreator.h"

GLYPHMORPH_EXPORT int qInitResources_default_theme();
GLYPHMORPH_EXPORT int qCleanupResources_default_theme();

namespace {

// Registers the built-in theme at its place in the order. The resource's own guard in the theme
// code registers it as well, so the theme code works in any load order; registering data that
// is registered already changes nothing, and the first cleanup unregisters it.
class DefaultThemeResource
{
public:
    DefaultThemeResource() { qInitResources_default_theme(); }
    ~DefaultThemeResource() { qCleanupResources_default_theme(); }
    DefaultThemeResource(const DefaultThemeResource &) = delete;
    DefaultThemeResource &operator=(const DefaultThemeResource &) = delete;
};

const MWidgetCreator<EmoticonSelectorWidget> widgetCreator(
    "EmoticonSelectorWidget", "libglyphmorph0", M::AssemblyType(0));
const MViewCreator<EmoticonSelectorWidgetView, EmoticonSelectorWidget> viewCreator(
    "EmoticonSelectorWidgetView");
const MLibrary library(QStringLiteral("libglyphmorph0"));
const DefaultThemeResource defaultThemeResource;
const MStyleCreator<EmoticonSelectorWidgetViewStyle> styleCreator(
    "EmoticonSelectorWidgetViewStyle", "libglyphmorph0", M::AssemblyType(0));

} // namespace
