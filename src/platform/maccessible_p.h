// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: what assistive technology sees of graphics-view windows and their widgets.
#ifndef GLYPHMORPH_MACCESSIBLE_P_H
#define GLYPHMORPH_MACCESSIBLE_P_H

class QObject;

namespace MAccessible {
/**
 * Makes QAccessible describe MWindows and the graphics widgets in their scenes: Qt itself sees
 * a graphics view as one opaque area. Installed once, by the first platform widget or window.
 */
void install();
/** Tells assistive technology that @p object took the keyboard focus, when it listens. */
void notifyFocus(QObject *object);
} // namespace MAccessible

#endif
