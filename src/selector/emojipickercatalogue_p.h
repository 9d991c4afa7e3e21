// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the emoji an emoji picker offers, folded and by category.
#ifndef GLYPHMORPH_EMOJIPICKERCATALOGUE_P_H
#define GLYPHMORPH_EMOJIPICKERCATALOGUE_P_H

#include "glyphmorph_export.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

/**
 * The fully-qualified emoji of emoji-test.txt folded into picker cells. An emoji folds under its
 * base, which the picker shows in its place, by these steps in turn:
 * - an emoji with a skin tone folds under the nearest emoji before it in emoji-test.txt's order
 *   without one (the file lists every toned form right after its untoned one: 👍🏽 under 👍,
 *   🧑🏻‍🤝‍🧑🏼 under 🧑‍🤝‍🧑, 🙋🏽‍♀️ under 🙋‍♀️);
 * - X ZWJ ♀/♂ folds under X where X is an emoji (🙋‍♀️ under 🙋, 🕵️‍♂️
 * under 🕵️);
 * - 👨 ZWJ Y or 👩 ZWJ Y folds under 🧑 ZWJ Y where that is an emoji (👩‍⚕️ under
 * 🧑‍⚕️, 👨‍🦰 under 🧑‍🦰); couples and families of named people stay cells of
 * their own. Made once per process; safe to read from any thread.
 */
class GLYPHMORPH_AUTOTEST_EXPORT EmojiPickerCatalogue
{
public:
    /** The process's catalogue, made on first use. */
    static const EmojiPickerCatalogue &instance();
    /** A catalogue of its own, made now. */
    static EmojiPickerCatalogue build() { return EmojiPickerCatalogue(); }

    /** The groups of emoji-test.txt in its order, without "Component". */
    QStringList groups;
    /** The cells of each group, in emoji-test.txt's order. */
    QVector<QStringList> cellsOfGroup;

    /** How many cells all groups have. */
    int cellCount() const { return m_cellCount; }
    /** The cell @p emoji folds under (itself for a cell); empty for no emoji. FE0F-sensitive:
     *  give the fully-qualified form. */
    QString baseOf(const QString &emoji) const { return m_baseOf.value(emoji); }
    /** The cell @p base and every emoji folded under it, in emoji-test.txt's order; just @p base
     *  when nothing folds under it, empty for no cell. */
    QStringList variantsOf(const QString &base) const;

private:
    EmojiPickerCatalogue();

    QHash<QString, QString> m_baseOf;
    QHash<QString, QStringList> m_variants;
    int m_cellCount = 0;
};

#endif
