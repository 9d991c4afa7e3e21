// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "builtinemoji_p.h"

#include "themefileparse_p.h"

#include <QFileInfo>

namespace BuiltInEmoji {

namespace {

struct Equivalent
{
    const char *name;
    char32_t emoji[2];
};

// The face each icon draws; the heart is the red heart in its emoji presentation.
constexpr Equivalent equivalents[] = {
    { "very-happy", { 0x1F603 } },
    { "happy", { 0x1F642 } },
    { "tongue", { 0x1F61B } },
    { "grin", { 0x1F601 } },
    { "wink", { 0x1F609 } },
    { "kiss", { 0x1F618 } },
    { "heart", { 0x2764, 0xFE0F } },
    { "surprised", { 0x1F62E } },
    { "cool", { 0x1F60E } },
    { "angry", { 0x1F620 } },
    { "cry", { 0x1F622 } },
    { "evil", { 0x1F608 } },
    { "lips-sealed", { 0x1F910 } },
    { "sad", { 0x1F641 } },
    { "sarcastic", { 0x1F60F } },
    { "skeptical", { 0x1F928 } },
    { "sleepy", { 0x1F62A } },
    { "worried", { 0x1F61F } },
};

const QLatin1String iconPrefix("icon-s-messaging-smiley-");
const QLatin1String builtInThemeFile(":/default_theme_resources/default_theme.xml");

} // namespace

QString forEmoticon(const QString &name)
{
    for (const Equivalent &equivalent : equivalents) {
        if (name == QLatin1String(equivalent.name))
            return QString::fromUcs4(equivalent.emoji, equivalent.emoji[1] ? 2 : 1);
    }
    return QString();
}

QHash<QString, QString> forCodes()
{
    static const QHash<QString, QString> codes = [] {
        // The theme file read as it is: making the theme would write its preview.
        QHash<QString, QString> emojiOfCode;
        const ThemeFileParse parse = parseThemeFile(QFileInfo(builtInThemeFile));
        const auto items
            = parse.result.value(QStringLiteral("emoticons")).value<QList<EmoticonParsingItem>>();
        for (const EmoticonParsingItem &item : items) {
            const QString icon = item.files.value(QStringLiteral("s")).toString();
            const QString emoji = icon.startsWith(iconPrefix)
                ? forEmoticon(icon.mid(iconPrefix.size()))
                : QString();
            if (emoji.isEmpty())
                continue;
            for (auto code = item.characterCodes.cbegin(); code != item.characterCodes.cend();
                 ++code)
                emojiOfCode.insert(code.key(), emoji);
        }
        return emojiOfCode;
    }();
    return codes;
}

} // namespace BuiltInEmoji
