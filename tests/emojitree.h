// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A search tree of Unicode emoji as the Emoji theme builds one, for the engines' tests.
#ifndef GLYPHMORPH_EMOJITREE_H
#define GLYPHMORPH_EMOJITREE_H

#include "emojidata.h"
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"

#include <QAtomicInt>
#include <QVector>

#include <memory>

namespace GlyphmorphTest {

inline const QString tagEnd = QStringLiteral("'  width='20' height='20'>");

// A tree as the Emoji theme builds one: every line of emoji-test.txt that is an emoji by itself,
// each to "/" and the line as written, so that the HTML tells which text each image took; and
// GitHub's shortcodes, to "/:" and the name.
class EmojiTree
{
public:
    EmojiTree()
    {
        const EmojiData data;
        QHash<QString, QString> codes;
        EmojiSupport support;
        for (const QString &line : data.sequences()) {
            const EmojiData::Qualification qualification = data.qualification(line);
            // A skin tone alone, or a character that is text unless FE0F follows it, is none.
            if (qualification == EmojiData::Component
                || (qualification == EmojiData::Unqualified && line.toUcs4().size() == 1))
                continue;
            codes.insert(line, '/' + line);
            support.sequences.insert(line);
        }
        const QHash<QString, QString> shortcodes = data.shortcodes();
        for (auto it = shortcodes.cbegin(); it != shortcodes.cend(); ++it)
            codes.insert(':' + it.key() + ':', "/:" + it.key() + ':');
        support.prepareImage = [this](const QString &) {
            prepared.ref();
        };
        support.title = [](const QString &code) {
            return EmojiData().emojiName(code, "en");
        };
        tree.reset(new emoSequenceSearchTree(codes));
        engine()->setEmojiSupport(support);
        QHash<QString, QString> emojiOfCode;
        for (const QString &line : qAsConst(support.sequences))
            emojiOfCode.insert(line, line);
        for (auto it = shortcodes.cbegin(); it != shortcodes.cend(); ++it)
            emojiOfCode.insert(':' + it.key() + ':', it.value());
        engine()->setEmojiText(emojiOfCode);
    }

    emoSequenceSearchTreePrivate *engine() { return emoSequenceSearchTreePrivate::get(tree.get()); }
    QString html(const QString &text, ConversionOptions options = {},
        const QString &lineBreak = QStringLiteral("<br>"))
    {
        return engine()->performPlainText2HTMLReplacement(text, lineBreak, options);
    }

    using EmojiSupport = emoSequenceSearchTreePrivate::EmojiSupport;
    std::unique_ptr<emoSequenceSearchTree> tree;
    QAtomicInt prepared;
};

// The text each image of @p html took, and where, from paths that are "/" and the text; line ends
// must have been kept one character each.
inline QVector<QPair<int, QString>> imagesOf(const QString &html)
{
    QVector<QPair<int, QString>> images;
    int textPosition = 0;
    for (int i = 0; i < html.size();) {
        if (QStringView(html).mid(i).startsWith(QLatin1String("<img src='/"))) {
            const int end = html.indexOf(tagEnd, i);
            const QString code = html.mid(i + 11, end - i - 11);
            images.append({ textPosition, code });
            textPosition += code.size();
            i = end + tagEnd.size();
        } else {
            ++textPosition;
            ++i;
        }
    }
    return images;
}

inline QString img(const QString &code)
{
    return "<img src='/" + code + tagEnd;
}

} // namespace GlyphmorphTest

#endif
