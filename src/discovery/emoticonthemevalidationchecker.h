// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEMEVALIDATIONCHECKER_H
#define GLYPHMORPH_EMOTICONTHEMEVALIDATIONCHECKER_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QObject>
#include <QString>

#include <memory>

class EmoticonThemeResourceAvailabilityChecker;
class EmoticonThemeValidationCheckerPrivate;

/**
 * Turns "a theme directory was added" into a verdict, valid or invalid, for any number of
 * directories at once: one EmoticonThemeResourceAvailabilityChecker per request, relayed and then
 * disposed of. A directory that is already complete is reported valid before
 * requestValidationCheck() returns.
 */
class GLYPHMORPH_EXPORT EmoticonThemeValidationChecker : public QObject
{
    Q_OBJECT

public:
    explicit EmoticonThemeValidationChecker(QObject *parent = nullptr);
    ~EmoticonThemeValidationChecker() override;

    /** Starts waiting for the theme in @p directoryPath. */
    void requestValidationCheck(const QString &directoryPath);
    /** The number of directories still waited for. */
    int pendingCheckCount() const;
    /** Stops waiting for @p directoryPath, without a verdict: the directory went away, and what
     *  arrives under its name later is another theme with a check of its own. */
    void cancelValidationCheck(const QString &directoryPath);

Q_SIGNALS:
    void emoticonThemeIsValid(const QString &emoticonThemeXmlFilePath, const EmoticonTheme &theme);
    /** Carries the description file's path, or the directory's when there never was one. */
    void emoticonThemeIsInvalid(const QString &emoticonThemeXmlFilePath);

private Q_SLOTS:
    void handleResourceAvailable(const QString &emoticonThemeXmlFilePath,
        const EmoticonTheme &theme, EmoticonThemeResourceAvailabilityChecker *sender);
    void handleResourceUnavailable(
        const QString &emoticonThemeXmlFilePath, EmoticonThemeResourceAvailabilityChecker *sender);

private:
    const std::unique_ptr<EmoticonThemeValidationCheckerPrivate> d;
};

#endif
