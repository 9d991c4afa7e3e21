// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojisearchindex_p.h"

#include <QStringMatcher>

#include <algorithm>

namespace {

// Within each kind of field: equal, prefix, word prefix, substring.
constexpr quint8 keywordRanks = 4;
constexpr quint8 allWordsRank = 8;
const QChar separator = QLatin1Char('\n');

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c.isSurrogate();
}

} // namespace

QString EmojiSearchIndex::fold(const QString &text)
{
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return text.toLower().simplified();

    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (int i = 0; i < decomposed.size(); ++i) {
        const QChar c = decomposed.at(i);
        if (c.isHighSurrogate() && i + 1 < decomposed.size()
            && decomposed.at(i + 1).isLowSurrogate()) {
            const uint ucs4 = QChar::surrogateToUcs4(c, decomposed.at(i + 1));
            if (QChar::category(ucs4) != QChar::Mark_NonSpacing)
                out.append(decomposed.constData() + i, 2);
            ++i;
            continue;
        }
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        switch (c.unicode()) {
        case 0x2018:
        case 0x2019:
            out += QLatin1Char('\'');
            break;
        case 0x201C:
        case 0x201D:
            out += QLatin1Char('"');
            break;
        default:
            out += c;
        }
    }
    // Names use no-break spaces where a query has plain ones.
    return out.toCaseFolded().simplified();
}

EmojiSearchIndex::EmojiSearchIndex(const QVector<Item> &items)
{
    m_variant.reserve(items.size());
    for (int item = 0; item < items.size(); ++item) {
        m_variant.append(items.at(item).variant);
        const auto add = [&](const QString &field, bool keyword) {
            const QString folded = fold(field);
            if (folded.isEmpty())
                return;
            m_fieldStart.append(m_text.size());
            m_fieldItem.append(item);
            m_fieldIsKeyword.append(keyword);
            m_text += folded;
            m_text += separator;
        };
        add(items.at(item).name, false);
        for (const QString &keyword : items.at(item).keywords)
            add(keyword, true);
    }
    m_text.squeeze();
}

void EmojiSearchIndex::rankPhrase(const QString &phrase, QVector<Match> *best) const
{
    const QStringMatcher matcher(phrase);
    int field = 0;
    for (int at = matcher.indexIn(m_text, 0); at >= 0; at = matcher.indexIn(m_text, at + 1)) {
        // Hits come in order, so the field a hit lies in only moves forward.
        while (field + 1 < m_fieldStart.size() && m_fieldStart.at(field + 1) <= at)
            ++field;
        const int start = m_fieldStart.at(field);
        const int end
            = field + 1 < m_fieldStart.size() ? m_fieldStart.at(field + 1) - 1 : m_text.size() - 1;
        quint8 rank = 3;
        if (at == start)
            rank = at + phrase.size() == end ? 0 : 1;
        else if (!isWordCharacter(m_text.at(at - 1)))
            rank = 2;
        if (m_fieldIsKeyword.at(field))
            rank += keywordRanks;
        Match &current = (*best)[m_fieldItem.at(field)];
        if (rank < current.rank || (rank == current.rank && end - start < current.length))
            current = { rank, end - start };
    }
}

QVector<bool> EmojiSearchIndex::wordStarts(const QString &word) const
{
    QVector<bool> items(m_variant.size(), false);
    const QStringMatcher matcher(word);
    int field = 0;
    for (int at = matcher.indexIn(m_text, 0); at >= 0; at = matcher.indexIn(m_text, at + 1)) {
        while (field + 1 < m_fieldStart.size() && m_fieldStart.at(field + 1) <= at)
            ++field;
        if (at == m_fieldStart.at(field) || !isWordCharacter(m_text.at(at - 1)))
            items[m_fieldItem.at(field)] = true;
    }
    return items;
}

QVector<int> EmojiSearchIndex::search(const QString &query, int limit) const
{
    const QString phrase = fold(query);
    if (phrase.isEmpty() || m_text.isEmpty())
        return {};

    QVector<Match> best(m_variant.size());
    rankPhrase(phrase, &best);
    const QStringList words = phrase.split(QLatin1Char(' '));
    if (words.size() > 1) {
        QVector<bool> all = wordStarts(words.first());
        for (int w = 1; w < words.size(); ++w) {
            const QVector<bool> next = wordStarts(words.at(w));
            for (int item = 0; item < all.size(); ++item)
                all[item] = all.at(item) && next.at(item);
        }
        for (int item = 0; item < all.size(); ++item) {
            if (all.at(item) && best.at(item).rank == noMatch)
                best[item] = { allWordsRank, 0 };
        }
    }

    QVector<int> found;
    for (int item = 0; item < best.size(); ++item) {
        if (best.at(item).rank != noMatch)
            found.append(item);
    }
    const auto order = [&](int a, int b) {
        if (best.at(a).rank != best.at(b).rank)
            return best.at(a).rank < best.at(b).rank;
        if (m_variant.at(a) != m_variant.at(b))
            return m_variant.at(b);
        // Variants keep their order, light to dark.
        if (!m_variant.at(a) && best.at(a).length != best.at(b).length)
            return best.at(a).length < best.at(b).length;
        return a < b;
    };
    if (limit > 0 && limit < found.size()) {
        std::partial_sort(found.begin(), found.begin() + limit, found.end(), order);
        found.resize(limit);
    } else {
        std::sort(found.begin(), found.end(), order);
    }
    return found;
}
