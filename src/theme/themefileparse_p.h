// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: one reading of a theme file, shared by building a theme and diagnosing one, so
// that the two cannot disagree.
#ifndef GLYPHMORPH_THEMEFILEPARSE_P_H
#define GLYPHMORPH_THEMEFILEPARSE_P_H

#include "emoticonparsingitem.h"
#include "emoxmlparsinghandler.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

class QFileInfo;

struct ThemeFileParse
{
    enum Outcome
    {
        Parsed,
        /** Not a regular file, too large or unreadable: nothing was parsed. */
        NotRead,
        TooDeep,
        DeclaresEntities,
        NotWellFormed,
    };

    Outcome outcome = NotRead;
    /** The reader's message when not well-formed. */
    QString error;
    /** Where reading stopped; for TooDeep the line of the element past the limit. */
    qint64 line = 0;
    qint64 column = 0;
    /** The handler's parse result, see EmoticonThemeFactory::emoticonThemeFromHashMap(). */
    QHash<QString, QVariant> result;
    /** Where each emoticon of the result's list starts, in the same order. */
    QList<emoXMLParsingHandler::EmoticonSource> sources;
    /** The codes the reader left out. */
    QList<emoXMLParsingHandler::DroppedCode> droppedCodes;
};

ThemeFileParse parseThemeFile(const QFileInfo &file);

/** Why an emoticon of a parse result gets no image in the theme. */
enum class EmoticonDefect
{
    None,
    NoCode,
    NoSmallImage,
    /** Its small image names no file in the theme directory. */
    UnusableSmallImage,
};

EmoticonDefect emoticonDefect(const EmoticonParsingItem &item);

/** A file text names a file inside the theme directory, and one the file system can name. */
bool isUsableFileText(const QString &text);

#endif
