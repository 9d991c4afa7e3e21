// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojitheme_p.h"

#include "builtinemoji_p.h"
#include "emojiimages_p.h"
#include "emojitables_p.h"
#include "emosequencesearchtree_p.h"
#include "emoticontheme_p.h"

#include <QSet>
#include <QVector>

using namespace EmojiTables;

namespace {

// A character that is text by default stays text unless U+FE0F asks for the emoji: "☺" in a
// message is no code, "☺️" is.
bool isBareTextDefault(const Sequences &table, const QString &sequence)
{
    const QVector<uint> codePoints = sequence.toUcs4();
    return codePoints.size() == 1 && !table.presentation.contains(codePoints.first());
}

EmoticonThemeContent content(const EmojiTheme::Options &options, const QString &imageDirectory)
{
    const Sequences &table = Sequences::builtIn();
    const QString directory = imageDirectory.endsWith(QLatin1Char('/'))
        ? imageDirectory
        : imageDirectory + QLatin1Char('/');
    // One path per emoji, shared by every code of it.
    QVector<QString> pathOf(table.entries.size());
    const auto imageOf = [&](int entry) -> const QString & {
        const int fully = table.entries.at(entry).fullyQualified;
        QString &path = pathOf[fully];
        if (path.isNull())
            path = directory + EmojiImages::fileName(table.entries.at(fully).text);
        return path;
    };

    QHash<QString, QString> codeToFile;
    QHash<QString, QString> emojiOfCode;
    QSet<QString> sequences;
    codeToFile.reserve(table.entries.size() + 2000);
    emojiOfCode.reserve(table.entries.size() + 2000);
    sequences.reserve(table.entries.size());
    for (int i = 0; i < table.entries.size(); ++i) {
        const Sequences::Entry &entry = table.entries.at(i);
        if (entry.status == Sequences::Status::Component || isBareTextDefault(table, entry.text))
            continue;
        codeToFile.insert(entry.text, imageOf(i));
        emojiOfCode.insert(entry.text, entry.text);
        sequences.insert(entry.text);
    }

    const auto addCode = [&](const QString &code, const QString &emoji) {
        const auto entry = table.byKey.constFind(keyOf(emoji));
        if (entry == table.byKey.cend())
            return;
        codeToFile.insert(code, imageOf(entry.value()));
        emojiOfCode.insert(code, table.entries.at(entry.value()).text);
    };
    const QHash<QString, QString> &shortcodes
        = ShortcodeTable::builtIn(int(options.shortcodes)).sequenceOf;
    for (auto it = shortcodes.cbegin(); it != shortcodes.cend(); ++it)
        addCode(QLatin1Char(':') + it.key() + QLatin1Char(':'), it.value());
    if (options.asciiSmileys) {
        const QHash<QString, QString> smileys = BuiltInEmoji::forCodes();
        for (auto it = smileys.cbegin(); it != smileys.cend(); ++it)
            addCode(it.key(), it.value());
    }

    QHash<QString, QString> fileToCode;
    QHash<QString, QString> fileToPicker;
    QHash<QString, QString> codeToPriority;
    for (const int i : table.emoji) {
        const Sequences::Entry &entry = table.entries.at(i);
        if (isToned(keyOf(entry.text)))
            continue;
        const QString &path = imageOf(i);
        fileToCode.insert(path, entry.text);
        fileToPicker.insert(path, path.mid(directory.size()).chopped(4));
        codeToPriority.insert(entry.text, QString::number(codeToPriority.size()));
    }

    EmoticonThemeContent made;
    auto *tree = new emoSequenceSearchTree(codeToFile);
    emoSequenceSearchTreePrivate *engine = emoSequenceSearchTreePrivate::get(tree);
    emoSequenceSearchTreePrivate::EmojiSupport support;
    support.sequences = sequences;
    support.prepareImage = [](const QString &filePath) {
        EmojiImages::prepare(filePath);
    };
    support.title = [emojiOfCode](const QString &code) {
        return EmojiData().emojiName(emojiOfCode.value(code));
    };
    engine->setEmojiSupport(std::move(support));
    engine->setEmojiText(emojiOfCode);
    made.tree = tree;
    made.codeSequenceToFilepath = std::move(codeToFile);
    made.filePathToCodeSequence = std::move(fileToCode);
    made.filepathToPickerImage = std::move(fileToPicker);
    made.codeSequenceToPriority = std::move(codeToPriority);
    return made;
}

} // namespace

namespace EmojiTheme {

QString uuid()
{
    return QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");
}

EmoticonTheme create(const Options &options, const QString &imageDirectory)
{
    EmoticonTheme theme;
    theme.setThemeUUID(uuid());
    theme.setThemeName(QStringLiteral("Emoji"));
    // Thousands of codes make a tree of several megabytes: only a process that uses the theme
    // pays for it.
    EmoticonThemePrivate::setDeferredContent(
        theme, [options, imageDirectory] { return content(options, imageDirectory); });
    return theme;
}

} // namespace EmojiTheme
