// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEMEDIAGNOSIS_H
#define GLYPHMORPH_EMOTICONTHEMEDIAGNOSIS_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QList>
#include <QSharedDataPointer>
#include <QString>

class EmoticonThemeDiagnosisData;

/**
 * What reading a theme directory found: whether the library would refuse it, why, where in the
 * theme file, and what it would accept with misgivings. Made by
 * EmoticonThemeFactory::diagnoseTheme(), through the same reading that decides whether a theme is
 * used, so that the verdict is the library's own.
 *
 * Only the first refusal is diagnosed: a file that cannot be read says nothing of its emoticons.
 */
class GLYPHMORPH_EXPORT EmoticonThemeDiagnosis
{
public:
    /** Why a directory is refused, in the order the reasons are looked for. The values are the
     *  exit codes of "glyphmorph check" and stay as they are. */
    enum Refusal
    {
        NotRefused = 0,
        /** Not a directory, or no regular file DIR/NAME.xml, NAME being the directory's name. */
        NoThemeFile = 3,
        /** The theme file is unreadable, too large, too deep, declares entities or is not
         *  well-formed. */
        UnreadableThemeFile = 4,
        /** No <emoticon_theme> element, no UUID or no name. */
        NoIdentity = 5,
        /** An emoticon without a character code or a usable small image. */
        NoUsableEmoticon = 6,
        /** Image files named by the theme do not exist. */
        MissingImages = 7,
        /** The UUID or service is another installed theme's. Only a caller that knows the
         *  installed themes finds this; diagnoseTheme() never does. */
        ThemeTaken = 8,
        /** An image file is not a regular file or resolves outside the theme directory. */
        UnsafeImages = 9,
    };

    /** One thing found, at a place in the theme file when it has one. */
    struct Finding
    {
        enum Kind
        {
            /** A part of the refusal, such as one missing image. */
            Detail,
            /** Accepted, but probably not as meant. */
            Warning,
        };
        Kind kind = Detail;
        QString text;
        /** 1-based; 0 when the finding has no place in the file. */
        qint64 line = 0;
        qint64 column = 0;
    };

    /** Not refused, with nothing found. */
    EmoticonThemeDiagnosis();
    EmoticonThemeDiagnosis(const EmoticonThemeDiagnosis &other);
    EmoticonThemeDiagnosis &operator=(const EmoticonThemeDiagnosis &other);
    ~EmoticonThemeDiagnosis();

    Refusal refusal() const;
    /** One line saying why the directory is refused, the details() following it; empty when it
     *  is not. */
    QString reason() const;
    /** Where in the theme file the refusal lies (1-based); 0 when it has no place there. */
    qint64 line() const;
    qint64 column() const;
    /** Every finding, in the order found. */
    QList<Finding> findings() const;
    /** The findings of @p kind. */
    QList<Finding> findings(Finding::Kind kind) const;

    /** The directory diagnosed, absolute and cleaned. */
    QString directory() const;
    /** The theme the file describes, as the library builds it; invalid when the directory was
     *  refused before its emoticons were looked at. */
    EmoticonTheme theme() const;

    // For callers that add what they find themselves, such as a clash with an installed theme.

    /** Refuses for @p refusal with @p reason, at @p line and @p column of the theme file. */
    void refuse(Refusal refusal, const QString &reason, qint64 line = 0, qint64 column = 0);
    /** Adds a finding of @p kind. */
    void add(Finding::Kind kind, const QString &text, qint64 line = 0, qint64 column = 0);
    void setDirectory(const QString &directory);
    void setTheme(const EmoticonTheme &theme);

private:
    QSharedDataPointer<EmoticonThemeDiagnosisData> d;
};

#endif
