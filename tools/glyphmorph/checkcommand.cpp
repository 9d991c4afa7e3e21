// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph check: would a theme directory be accepted, and if not, why.
//
// The library diagnoses the directory with its own reading of the theme file; only whether another
// installed theme holds the UUID or the service is decided here, against the manager's themes.
#include "tool.h"

#include <emoticontheme.h>
#include <emoticonthemediagnosis.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>

namespace Tool {

namespace {

using Finding = EmoticonThemeDiagnosis::Finding;

QString located(const Finding &finding)
{
    return finding.line > 0 ? QStringLiteral("line %1: %2").arg(finding.line).arg(finding.text)
                            : finding.text;
}

/** Prints the warnings, then the verdict; returns the exit code. */
int report(const EmoticonThemeDiagnosis &diagnosis)
{
    const QString directory = diagnosis.directory();
    for (const Finding &warning : diagnosis.findings(Finding::Warning))
        err(QStringLiteral("warning: %1: %2").arg(directory, located(warning)));
    if (diagnosis.refusal() != EmoticonThemeDiagnosis::NotRefused) {
        QString reason = diagnosis.reason();
        for (const Finding &detail : diagnosis.findings(Finding::Detail))
            reason += QStringLiteral("\n  ") + located(detail);
        return fail(QStringLiteral("refused: %1: %2").arg(directory, reason), diagnosis.refusal());
    }
    const EmoticonTheme theme = diagnosis.theme();
    out(QStringLiteral("accepted: %1: '%2' (%3), %4 emoticons%5\n")
            .arg(directory, theme.themeName(), theme.themeUUID())
            .arg(emoticonCount(theme))
            .arg(theme.serviceUUID().isEmpty()
                    ? QString()
                    : QStringLiteral(", for the service ") + theme.serviceUUID()));
    return Success;
}

} // namespace

int runCheck(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("check"),
        QStringLiteral(
            "Tells whether the theme directory DIR would be accepted once installed below the\n"
            "themes root and, if not, why. DIR must hold DIR/NAME.xml, NAME being the directory's\n"
            "own name, describing a theme with a UUID, a name and emoticons that each have a\n"
            "code and a small image, and every image it names. Its UUID, and its service if it\n"
            "names one, must not be taken by another installed theme.\n"
            "Prints the verdict on standard output when accepted; the reasons for a refusal and\n"
            "warnings go to standard error.\n\n"
            "Exit codes:\n"
            "  0  accepted\n"
            "  2  bad arguments\n"
            "  3  DIR is not a directory, or holds no NAME.xml\n"
            "  4  the theme file is unreadable, too large (over 4 MiB), declares entities or is\n"
            "     not well-formed (the line and column are given)\n"
            "  5  the theme has no <emoticon_theme> element, no UUID or no name\n"
            "  6  an emoticon has no character code or no small (size=\"s\") image\n"
            "  7  image files are missing (they are listed)\n"
            "  8  the service is taken by another installed theme (a theme with the same UUID\n"
            "     is a new version of it: check says it would replace the installed one)\n"
            "  9  an image file is not a regular file (a FIFO, device, socket, directory or\n"
            "     dangling link) or resolves outside DIR; such files are never opened"));
    commandLine.parser.addPositionalArgument(
        QStringLiteral("dir"), QStringLiteral("The theme directory."), QStringLiteral("DIR"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = commandLine.parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("check needs exactly one theme directory; 'glyphmorph check "
                                   "--help' shows the usage"),
            UsageError);

    EmoticonThemeDiagnosis diagnosis = EmoticonThemeFactory::diagnoseTheme(positional.first());
    if (diagnosis.refusal() == EmoticonThemeDiagnosis::NotRefused) {
        // Only now: the manager reads every installed theme.
        Library library;
        findConflicts(diagnosis, library.manager());
    }
    return report(diagnosis);
}

} // namespace Tool
