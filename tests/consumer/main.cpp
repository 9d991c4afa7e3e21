// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Every installed header, listed by the test from the installed include directory: the
// installed set must compile from the prefix alone.
#include "installedheaders.h"

#include <QHash>
#include <QString>

#include <cstdio>

int main()
{
    EmoticonTheme theme;
    theme.setCharacterCodeSequenceSearchTree(
        new emoSequenceSearchTree({ { QStringLiteral(":)"), QStringLiteral("/smile.png") } }));
    const QString html = theme.characterCodeSequenceSearchTree()->performPlainText2HTMLReplacement(
        QStringLiteral("hi :)"), 0, QStringLiteral("<br>"));
    std::printf("%s %s\n", GLYPHMORPH_VERSION_STRING, qPrintable(html));
    const EmoticonThemeDiagnosis diagnosis
        = EmoticonThemeFactory::diagnoseTheme(QStringLiteral("/nonexistent"));
    return html == QStringLiteral("hi <img src='/smile.png'  width='20' height='20'>")
            && diagnosis.refusal() == EmoticonThemeDiagnosis::NoThemeFile
        ? 0
        : 1;
}
