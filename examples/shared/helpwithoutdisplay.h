// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// What the examples share: --help and --version answered before any GUI starts.
#ifndef GLYPHMORPH_EXAMPLES_HELPWITHOUTDISPLAY_H
#define GLYPHMORPH_EXAMPLES_HELPWITHOUTDISPLAY_H

#include <QCommandLineParser>
#include <QCoreApplication>

/**
 * Prints the help or the version and exits with 0 when the arguments ask for either; returns
 * otherwise. A GUI application aborts where there is no display, so this runs before one is
 * made. @p parser needs its help and version options.
 */
inline void answerHelpAndVersion(int &argc, char **argv, QCommandLineParser &parser)
{
    const QCoreApplication application(argc, argv);
    // The GUI application's own options (-platform, -style...) are unknown here: whether help or
    // the version is asked is all that counts.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

#endif
