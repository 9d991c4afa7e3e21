// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the checker's state, and the hook with which tests shorten its time-out.
#ifndef GLYPHMORPH_EMOTICONTHEMERESOURCEAVAILABILITYCHECKER_P_H
#define GLYPHMORPH_EMOTICONTHEMERESOURCEAVAILABILITYCHECKER_P_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QString>

class EmoticonThemeResourceAvailabilityChecker;

class GLYPHMORPH_AUTOTEST_EXPORT EmoticonThemeResourceAvailabilityCheckerPrivate
{
public:
    explicit EmoticonThemeResourceAvailabilityCheckerPrivate(
        EmoticonThemeResourceAvailabilityChecker *q);
    EmoticonThemeResourceAvailabilityCheckerPrivate(
        const EmoticonThemeResourceAvailabilityCheckerPrivate &)
        = delete;
    EmoticonThemeResourceAvailabilityCheckerPrivate &operator=(
        const EmoticonThemeResourceAvailabilityCheckerPrivate &)
        = delete;

    /** Replaces the time-out of checkers started from now on; 0 restores it. For tests only. */
    static void setTimeoutForTests(int milliseconds);
    /** The time from start() to the verdict "unavailable". */
    static int timeout();

    void watch(const QString &path);
    /** Ends the check: no more watches, no more scans. */
    void finish();

    EmoticonThemeResourceAvailabilityChecker *const q;
    EmoticonTheme theme;
    QString directoryPath;
    QString xmlFilePath;
    // Only a theme that is not complete at its first scan is watched: most arrive whole.
    bool watching = false;
    bool xmlFound = false;
    bool reported = false;
};

#endif
