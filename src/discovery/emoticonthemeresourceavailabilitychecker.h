// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEMERESOURCEAVAILABILITYCHECKER_H
#define GLYPHMORPH_EMOTICONTHEMERESOURCEAVAILABILITYCHECKER_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QObject>
#include <QString>

#include <memory>

class EmoticonThemeResourceAvailabilityCheckerPrivate;

/**
 * Waits for one theme directory to become complete: its description file DIR/DIR.xml parses to a
 * valid theme and every image file the theme names exists.
 *
 * Scans at start() and again on every change of the directory, of the description file and of
 * the directories of images still missing, and reports exactly one verdict: resourcesAvailable as
 * soon as the theme is complete, or resourcesUnavailable ten seconds after start(). A description
 * file that does not parse yet may still be being written, so it is only judged at the time-out.
 * A theme reported available has its preview file. All pending checkers of a thread share one
 * file-system watcher.
 */
class GLYPHMORPH_EXPORT EmoticonThemeResourceAvailabilityChecker : public QObject
{
    Q_OBJECT

public:
    /** Time from start() to the verdict "unavailable"; it never comes earlier. */
    static constexpr int timeoutMilliseconds = 10000;

    explicit EmoticonThemeResourceAvailabilityChecker(
        const QString &directoryPath, QObject *parent = nullptr);
    ~EmoticonThemeResourceAvailabilityChecker() override;

    /** Scans once and arms the time-out; may report before it returns. */
    void start();
    /** One scan: the description file until it gave a valid theme, then the images. */
    void scanDirectory();
    /** Parses the description file; true once it gave a valid theme. */
    bool scanForXmlFile();
    /** True when every image file of the theme exists. */
    bool scanForResources();
    /** True when every PNG image of the theme also loads as one. */
    bool checkResourceValidation();

Q_SIGNALS:
    void resourcesAvailable(const QString &emoticonThemeXmlFilePath, const EmoticonTheme &theme,
        EmoticonThemeResourceAvailabilityChecker *sender);
    /** Carries the description file's path when it exists, else the directory's. */
    void resourcesUnavailable(
        const QString &emoticonThemeXmlFilePath, EmoticonThemeResourceAvailabilityChecker *sender);

private Q_SLOTS:
    void handleTimeout();
    void handleDirectoryChanged();

private:
    const std::unique_ptr<EmoticonThemeResourceAvailabilityCheckerPrivate> d;
};

#endif
