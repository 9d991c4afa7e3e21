// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A theme description from outside, as the theme manager reads it, then the theme at work: text
// made of its own codes, plain and escaped, through its search tree.
#include "emosequencesearchtree.h"
#include "emoticonthemefactory.h"
#include "fuzzsupport.h"

#include <QFile>

#include <algorithm>

namespace {
QString descriptionPath;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const QString directory = GlyphmorphFuzz::isolate() + QStringLiteral("/work/Fuzzed");
    QDir().mkpath(directory);
    descriptionPath = directory + QStringLiteral("/Fuzzed.xml");
    // Previews are drawn for every valid theme.
    GlyphmorphFuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile file(descriptionPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        GlyphmorphFuzz::fail("cannot write the description", descriptionPath);
    file.close();

    const EmoticonTheme theme = EmoticonThemeFactory::emoticonThemeFromXML(descriptionPath);
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    if (!tree)
        return 0;
    QStringList codes = theme.codeSequenceToFilepathMapping().keys();
    std::sort(codes.begin(), codes.end());
    // Codes side by side, after spaces and line ends, and glued to a word, so that every way a
    // walk can enter or leave a code is taken.
    const QString joins[] = { QStringLiteral(" "), QString(), QStringLiteral("\n"),
        QStringLiteral("x"), QStringLiteral("\r\n"), QString(QChar::LineSeparator) };
    QString text;
    for (int i = 0; i < codes.size(); ++i)
        text += codes.at(i) + joins[i % std::size(joins)];
    for (const QString &message : { text, text.toHtmlEscaped() })
        tree->performPlainText2HTMLReplacement(message, 0, QStringLiteral("<br>"));
    return 0;
}
