// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the in-place replacement with an account's theme; the library's QML module,
// built with the library, uses it too.
#ifndef GLYPHMORPH_EDITORREPLACEMENT_P_H
#define GLYPHMORPH_EDITORREPLACEMENT_P_H

#include "glyphmorph_export.h"

#include <QString>

class TextEditorAccess;

class GLYPHMORPH_EXPORT EditorReplacement
{
public:
    /** Replaces the codes of the account's theme in @p editor by images, around the latest change
     *  or, with @p wholeDocument, everywhere (the content is then first reduced to plain text);
     *  the editor's signals are blocked meanwhile. Shortcodes take the user's skin tone, and
     *  the emoji images made around a change count as uses, as
     *  Glyphmorpher::transformTextEditContentToEmoticonInPlace() says. */
    static void replaceCodes(
        TextEditorAccess &editor, const QString &accountPath, bool wholeDocument);
};

#endif
