// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the search over emoji names and keywords of one locale.
#ifndef GLYPHMORPH_EMOJISEARCHINDEX_P_H
#define GLYPHMORPH_EMOJISEARCHINDEX_P_H

#include "glyphmorph_export.h"

#include <QString>
#include <QStringList>
#include <QVector>

/**
 * Every name and keyword, folded, in one text with a line end between them, and where each one
 * starts: a query is one substring search over that text, each hit ranked by where it lies.
 * Ranks, best first: a name equal to the query, starting with it, with a word starting with
 * it, containing it; then the same for keywords; then, for a query of several words, names and
 * keywords in which every word starts a word. Within a rank, items marked as variants come after
 * the others, and the others come shorter names or keywords first ("corazón rojo" before
 * "corazón con flecha" for "corazon"); otherwise items keep their order.
 */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiSearchIndex
{
public:
    struct Item
    {
        QString name;
        QStringList keywords;
        bool variant = false;
    };

    explicit EmojiSearchIndex(const QVector<Item> &items);

    /** The items that match @p query, best first, at most @p limit of them (all when 0 or
     *  less), by their position in the list given to the constructor. */
    QVector<int> search(const QString &query, int limit) const;

    /** The form both the text searched and the query take: canonical decomposition without
     *  non-spacing marks, case-folded, curly quotes as straight ones, white space of any kind
     *  (line ends too) as single spaces and none at either end. */
    static QString fold(const QString &text);

private:
    static constexpr quint8 noMatch = 0xFF;
    /** How an item matches: its best rank, and the length of the shortest field with it. */
    struct Match
    {
        quint8 rank = noMatch;
        int length = 0;
    };

    void rankPhrase(const QString &phrase, QVector<Match> *best) const;
    QVector<bool> wordStarts(const QString &word) const;

    QString m_text;
    QVector<int> m_fieldStart;
    QVector<int> m_fieldItem;
    QVector<bool> m_fieldIsKeyword;
    QVector<bool> m_variant;
};

#endif
