// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: themes whose content is made when first asked for.
#ifndef GLYPHMORPH_EMOTICONTHEME_P_H
#define GLYPHMORPH_EMOTICONTHEME_P_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QHash>
#include <QString>

#include <functional>

/** A theme's four mappings and its search tree. */
struct EmoticonThemeContent
{
    QHash<QString, QString> codeSequenceToFilepath;
    QHash<QString, QString> filePathToCodeSequence;
    QHash<QString, QString> filepathToPickerImage;
    QHash<QString, QString> codeSequenceToPriority;
    /** Handed to the theme, which owns it. */
    emoSequenceSearchTree *tree = nullptr;
};

class GLYPHMORPH_AUTOTEST_EXPORT EmoticonThemePrivate
{
public:
    /**
     * Has @p make make the content of @p theme when any of it is first asked for, once, on
     * whichever thread asks; isValid() counts it as there meanwhile. A theme that many processes
     * register and few use costs them nothing more. Setting a part of the content makes it first.
     */
    static void setDeferredContent(
        EmoticonTheme &theme, std::function<EmoticonThemeContent()> make);
    /** Whether the content of @p theme is still to be made. */
    static bool isContentDeferred(const EmoticonTheme &theme);
};

#endif
