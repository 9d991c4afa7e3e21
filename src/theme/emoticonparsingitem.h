// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONPARSINGITEM_H
#define GLYPHMORPH_EMOTICONPARSINGITEM_H

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

/**
 * One emoticon as read from a theme file, before it becomes part of an EmoticonTheme.
 *
 * A list of them travels in a QVariant under the meta-type name "EmoticonParsingItemList"
 * (QList<EmoticonParsingItem>), the "emoticons" entry of a parse result.
 */
struct EmoticonParsingItem
{
    /** Each code to a bool: true for the default code. HTML-escaped forms that differ from their
     *  code are further keys with false. */
    QHash<QString, QVariant> characterCodes;
    /** The "size" attribute ("m", "s", ...) to the file text, a QString. */
    QHash<QString, QVariant> files;
    /** Position in the selector as decimal text; null when the file gives none. */
    QString positionIndex;
    /** The emoticon's image becomes the theme preview. */
    bool preview = false;
};

Q_DECLARE_METATYPE(EmoticonParsingItem)

#endif
