// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The tone chooser's table, for the Widgets and the QML picker tests: each drives its own front
// end through rows of the same shape.
#ifndef GLYPHMORPH_TONECHOOSER_H
#define GLYPHMORPH_TONECHOOSER_H

#include <QStringList>
#include <QTest>

namespace GlyphmorphTest {

// The chooser's locale, the default tone before, where the focus starts ("grid", "button" or
// "search"), the steps that open it and those that close it, and the default tone after.
inline void addToneChooserColumns()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::addColumn<int>("after");
}

inline void addToneChooserRow(const char *name, const char *locale, int before, const char *from,
    const char *open, const char *close, int after)
{
    QTest::newRow(name) << QString(locale) << before << QString(from) << QString(open)
                        << QString(close) << after;
}

// The six choices, as the chooser shows them, and their names in @p locale ("en" or "de").
inline const QStringList toneChoices { "✋", "✋🏻", "✋🏼", "✋🏽", "✋🏾", "✋🏿" };
inline QStringList toneNames(const QString &locale)
{
    return locale == "de"
        ? QStringList { "no skin tone", "helle Hautfarbe", "mittelhelle Hautfarbe",
              "mittlere Hautfarbe", "mitteldunkle Hautfarbe", "dunkle Hautfarbe" }
        : QStringList { "no skin tone", "light skin tone", "medium-light skin tone",
              "medium skin tone", "medium-dark skin tone", "dark skin tone" };
}

} // namespace GlyphmorphTest

#endif
