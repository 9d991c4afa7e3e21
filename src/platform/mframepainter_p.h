// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the background and border every styled widget draws.
#ifndef GLYPHMORPH_MFRAMEPAINTER_P_H
#define GLYPHMORPH_MFRAMEPAINTER_P_H

class MWidgetStyle;
class QPainter;
class QRectF;

namespace MFramePainter {
/** Fills @p rect with the style's background and draws its border, both when set. */
void draw(QPainter *painter, const QRectF &rect, const MWidgetStyle *style);
} // namespace MFramePainter

#endif
