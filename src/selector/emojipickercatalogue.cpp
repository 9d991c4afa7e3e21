// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojipickercatalogue_p.h"

#include "emojidata.h"
#include "emojitables_p.h"

namespace {

constexpr char32_t zwj = 0x200D;
constexpr char32_t female = 0x2640;
constexpr char32_t male = 0x2642;
// Named apart from the cell images' own: unity builds compile both files as one.
constexpr char32_t emojiPresentationSelector = 0xFE0F;
constexpr char32_t man = 0x1F468;
constexpr char32_t woman = 0x1F469;
constexpr char32_t person = 0x1F9D1;

bool hasSkinTone(const QString &emoji)
{
    const QVector<uint> codePoints = emoji.toUcs4();
    for (uint c : codePoints) {
        if (EmojiTables::isTone(c))
            return true;
    }
    return false;
}

// The emoji that @p emoji, untoned, folds under for its gender; empty when none.
QString genderNeutral(const QString &emoji, const EmojiData &data)
{
    QVector<uint> codePoints = emoji.toUcs4();
    if (!codePoints.isEmpty() && codePoints.constLast() == emojiPresentationSelector)
        codePoints.removeLast();
    const int n = codePoints.size();
    if (n >= 3 && codePoints.at(n - 2) == zwj
        && (codePoints.at(n - 1) == female || codePoints.at(n - 1) == male)) {
        const QString stripped = data.fullyQualified(
            QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), n - 2));
        if (!stripped.isEmpty())
            return stripped;
    }
    codePoints = emoji.toUcs4();
    if (codePoints.size() >= 3 && (codePoints.at(0) == man || codePoints.at(0) == woman)
        && codePoints.at(1) == zwj) {
        codePoints[0] = person;
        return data.fullyQualified(QString::fromUcs4(
            reinterpret_cast<const char32_t *>(codePoints.constData()), int(codePoints.size())));
    }
    return QString();
}

} // namespace

const EmojiPickerCatalogue &EmojiPickerCatalogue::instance()
{
    static const EmojiPickerCatalogue catalogue;
    return catalogue;
}

EmojiPickerCatalogue::EmojiPickerCatalogue()
{
    const EmojiData data;
    const QStringList all = data.emoji();
    // Each emoji's parent: itself for a cell. Every parent comes before its child in
    // emoji-test.txt, so one pass in that order resolves chains (🙋🏽‍♀️ →
    // 🙋‍♀️ → 🙋).
    QString lastUntoned;
    m_baseOf.reserve(all.size());
    for (const QString &emoji : all) {
        QString parent;
        if (hasSkinTone(emoji)) {
            parent = lastUntoned;
        } else {
            lastUntoned = emoji;
            parent = genderNeutral(emoji, data);
        }
        const QString base = parent.isEmpty() ? emoji : m_baseOf.value(parent, parent);
        m_baseOf.insert(emoji, base);
        if (base != emoji)
            m_variants[base].append(emoji);
    }
    for (const QString &emoji : all) {
        if (m_baseOf.value(emoji) != emoji)
            continue;
        const QString group = data.group(emoji);
        int index = groups.indexOf(group);
        if (index < 0) {
            groups.append(group);
            cellsOfGroup.append(QStringList());
            index = groups.size() - 1;
        }
        cellsOfGroup[index].append(emoji);
        ++m_cellCount;
    }
}

QStringList EmojiPickerCatalogue::variantsOf(const QString &base) const
{
    if (m_baseOf.value(base) != base)
        return QStringList();
    return QStringList { base } + m_variants.value(base);
}
