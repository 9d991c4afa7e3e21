// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: a code that the user turned back from an image into text.
#ifndef GLYPHMORPH_KEPTCODE_P_H
#define GLYPHMORPH_KEPTCODE_P_H

#include <QString>

class QObject;
class QTextDocument;

/**
 * The last code an editor reverted, remembered in the editor: the in-place replacement leaves it
 * as text while it stays as it was, wherever the text around it changes, so that it does not turn
 * back into an image at the next key. Edited, it is read as any other text again.
 */
class KeptCode
{
public:
    /** Remembers @p code at [@p from, from + code length) of the editor's document. */
    static void keep(QObject *editor, QTextDocument *document, int from, const QString &code);
    /** True when @p code at @p from is the code the editor keeps. */
    static bool isKept(const QObject *editor, int from, const QString &code);
};

#endif
