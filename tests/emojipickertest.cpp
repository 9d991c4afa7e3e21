// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The emoji picker: its sections, folding, search, tone and recently used emoji (the model that
// Widgets and QML share), and the Widgets panel by keyboard, mouse and assistive technology.
#include "testenvironment.h"
#include "tonechooser.h"

#include <emojicellimage_p.h>
#include <emojidata.h>
#include <emojigrid_p.h>
#include <emojipickercatalogue_p.h>
#include <emojipickermodel.h>
#include <emojipickerpanel_p.h>
#include <emojipickerpreferences_p.h>
#include <mtextedit.h>
#include <mwindow.h>

#include <QFont>
#include <QFontInfo>
#include <QSignalSpy>

namespace {

QStringList rowsOf(const EmojiPickerModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.count(); ++row)
        rows << model.emojiAt(row);
    return rows;
}

bool hasColourFont()
{
    // Qt 5 and Qt 6 list families differently; the font Qt picks for the name says the same.
    return QFontInfo(QFont(QStringLiteral("Noto Color Emoji"))).family()
        == QLatin1String("Noto Color Emoji");
}

} // namespace

class EmojiPickerTest : public QObject
{
    Q_OBJECT

    MWindow *window = nullptr;
    EmojiPickerPanel *panel = nullptr;
    static constexpr int columns = 8;
    static constexpr int visibleRows = 6;

    EmojiPickerPreferences *preferences() const { return EmojiPickerPreferences::instance(); }
    EmojiGrid *grid() const { return panel->grid(); }
    EmojiPickerModel *model() const { return panel->model(); }
    int current() const { return grid()->current(); }
    QGraphicsItem *focused() const { return window->scene()->focusItem(); }

    void click(QGraphicsItem *item, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(window->viewport(), button, {},
            window->mapFromScene(item->sceneBoundingRect().center()));
    }

    // Keys by name, "Ctrl+T", and clicks: "click:button" on the tone button, "click:N" on the
    // Nth cell, "RightClick" on the focused item.
    void press(const QString &keys)
    {
        static const QHash<QString, Qt::Key> names { { "Left", Qt::Key_Left },
            { "Right", Qt::Key_Right }, { "Up", Qt::Key_Up }, { "Down", Qt::Key_Down },
            { "Home", Qt::Key_Home }, { "End", Qt::Key_End }, { "PgUp", Qt::Key_PageUp },
            { "PgDown", Qt::Key_PageDown }, { "Return", Qt::Key_Return },
            { "Space", Qt::Key_Space }, { "Menu", Qt::Key_Menu }, { "Escape", Qt::Key_Escape } };
        for (const QString &key : keys.split(' ', Qt::SkipEmptyParts)) {
            if (key == "Ctrl+T")
                QTest::keyClick(window->viewport(), Qt::Key_T, Qt::ControlModifier);
            else if (key == "click:button")
                click(panel->toneButton());
            else if (key.startsWith("click:"))
                click(grid()->cells().at(key.mid(6).toInt()));
            else if (key == "RightClick")
                click(focused(), Qt::RightButton);
            else if (names.contains(key))
                QTest::keyClick(window->viewport(), names.value(key));
            else
                QFAIL(qPrintable(key));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        window = new MWindow;
        window->resize(800, 600);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void init()
    {
        preferences()->setSkinTone(0);
        preferences()->clearSkinToneChoices();
        preferences()->clearRecentEmoji();
        panel = new EmojiPickerPanel;
        panel->setGridSize(columns, visibleRows);
        window->scene()->addItem(panel);
        panel->resize(panel->effectiveSizeHint(Qt::PreferredSize));
        panel->model()->setSection(1);
        panel->focusGrid();
    }

    void cleanup()
    {
        delete panel;
        panel = nullptr;
    }

    void cleanupTestCase() { delete window; }

    void sectionsFollowEmojiTest()
    {
        QCOMPARE(model()->sections(),
            QStringList({ "Recently used", "Smileys & Emotion", "People & Body", "Animals & Nature",
                "Food & Drink", "Travel & Places", "Activities", "Objects", "Symbols", "Flags" }));
        QCOMPARE(panel->tabs().size(), 10);
        model()->setSection(2);
        QCOMPARE(model()->emojiAt(0), QStringLiteral("👋"));
        model()->setSection(9);
        QCOMPARE(model()->emojiAt(0), QStringLiteral("🏁"));
        // Every cell of a group belongs to it, and all groups together hold every cell.
        const EmojiData data;
        int cells = 0;
        for (int section = 1; section < model()->sections().size(); ++section) {
            model()->setSection(section);
            for (const QString &emoji : rowsOf(*model()))
                QCOMPARE(data.group(emoji), model()->sections().at(section));
            cells += model()->count();
        }
        QCOMPARE(cells, EmojiPickerModel::cellCount());
    }

    void folding_data()
    {
        QTest::addColumn<QString>("emoji");
        QTest::addColumn<QString>("base");
        const auto row = [](const char *name, const char *emoji, const char *base) {
            QTest::newRow(name) << QString(emoji) << QString(base);
        };
        row("tone", "👍🏽", "👍");
        row("needs FE0F untoned", "☝🏻", "☝️");
        row("gender", "🙋‍♀️", "🙋");
        row("gender and tone", "🙋🏽‍♂️", "🙋");
        row("gender with FE0F base", "🕵️‍♀️", "🕵️");
        row("woman X", "👩‍⚕️", "🧑‍⚕️");
        row("man X toned", "👨🏿‍🚀", "🧑‍🚀");
        row("hair", "👨‍🦰", "🧑‍🦰");
        row("blond", "👱‍♀️", "👱");
        row("two tones", "🧑🏻‍🤝‍🧑🏿", "🧑‍🤝‍🧑");
        row("couple toned", "🧑🏻‍❤️‍🧑🏼", "💑");
        row("named couple stays", "👩‍❤️‍👨", "👩‍❤️‍👨");
        row("named couple toned", "👩🏻‍❤️‍👨🏿", "👩‍❤️‍👨");
        row("family stays", "👨‍👩‍👦", "👨‍👩‍👦");
        row("man stays", "👨", "👨");
        row("no variants", "😀", "😀");
    }

    void folding()
    {
        QFETCH(QString, emoji);
        QFETCH(QString, base);
        const EmojiPickerCatalogue &catalogue = EmojiPickerCatalogue::instance();
        QCOMPARE(catalogue.baseOf(emoji), base);
        QVERIFY(catalogue.variantsOf(base).contains(emoji));
        QCOMPARE(catalogue.variantsOf(base).constFirst(), base);
    }

    // Every emoji is in exactly one cell's variants. Of Emoji 15.0's 3,655, 1,870 have no skin
    // tone; 102 "X ZWJ ♀/♂" and 48 "👨/👩 ZWJ Y" of those fold under a neutral form.
    void foldedCount()
    {
        const QStringList all = EmojiData().emoji();
        const EmojiPickerCatalogue &catalogue = EmojiPickerCatalogue::instance();
        QStringList folded;
        for (const QStringList &cells : catalogue.cellsOfGroup) {
            for (const QString &cell : cells)
                folded += catalogue.variantsOf(cell);
        }
        QCOMPARE(folded.size(), all.size());
        QCOMPARE(
            QSet<QString>(folded.begin(), folded.end()), QSet<QString>(all.begin(), all.end()));
        QCOMPARE(catalogue.cellCount(), 1870 - 102 - 48);
        QCOMPARE(EmojiPickerModel::cellCount(), catalogue.cellCount());
    }

    void search_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("first");
        const auto row
            = [](const char *name, const char *locale, const char *query, const char *first) {
                  QTest::newRow(name) << QString(locale) << QString(query) << QString(first);
              };
        row("English name", "en", "thumbs up", "👍");
        row("UI language", "de", "Daumen hoch", "👍");
        row("English in another UI language", "de", "thumbs up", "👍");
        row("gender variant by name finds its cell", "en", "woman astronaut", "🧑‍🚀");
        row("nothing", "en", "qqqzzzxx", "");
    }

    void search()
    {
        QFETCH(QString, locale);
        QFETCH(QString, query);
        QFETCH(QString, first);
        model()->setLocale(locale);
        model()->setQuery(query);
        QCOMPARE(model()->emojiAt(0), first);
        // Results are cells, each once: no variant shows beside its base.
        const QStringList rows = rowsOf(*model());
        for (const QString &row : rows)
            QCOMPARE(EmojiPickerCatalogue::instance().baseOf(row), row);
        QCOMPARE(QSet<QString>(rows.begin(), rows.end()).size(), rows.size());
        model()->setQuery(QString());
        QCOMPARE(model()->emojiAt(0), QStringLiteral("😀"));
    }

    // A new default tone shows at once on the cells with tone variants, not among variants.
    void skinTone()
    {
        model()->setSection(2);
        model()->setSkinTone(4);
        // The preferences tell of the change through the event loop.
        QTRY_COMPARE(grid()->cells().at(0)->emoji(), QStringLiteral("👋🏾"));
        QCOMPARE(model()->emojiAt(0), QStringLiteral("👋🏾"));
        model()->setVariantsOf("👍");
        QCOMPARE(rowsOf(*model()), EmojiPickerCatalogue::instance().variantsOf("👍"));
    }

    // The tone chooser, however opened, lists the six tones by name, the current one focused;
    // a pick makes the default tone and nothing else, Escape changes nothing, and the focus goes
    // back where it was.
    void toneChooser_data()
    {
        GlyphmorphTest::addToneChooserColumns();
        const auto row = GlyphmorphTest::addToneChooserRow;
        row("click; Space opens no variants, arrows and Return pick", "en", 0, "button",
            "click:button", "Space Right Right Right Return", 3);
        row("Return on the button; a click picks", "en", 5, "button", "Return", "click:3", 3);
        row("Space on the button; the button again closes", "en", 1, "button", "Space",
            "click:button", 1);
        row("Ctrl+T in the grid; Escape", "en", 2, "grid", "Ctrl+T", "Right Escape", 2);
        row("Ctrl+T in the search field, German; Ctrl+T again", "de", 4, "search", "Ctrl+T",
            "Left Ctrl+T", 4);
        row("German; picks no tone", "de", 2, "grid", "Ctrl+T", "Home Return", 0);
    }

    void toneChooser()
    {
        QFETCH(QString, locale);
        QFETCH(int, before);
        QFETCH(QString, from);
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(int, after);
        const QString hand = QStringLiteral("✋");
        model()->setLocale(locale);
        model()->setSkinTone(before);
        QTRY_COMPARE(panel->toneButton()->emoji(), model()->withSkinTone(hand, before));
        model()->setSection(2);
        const int sectionCount = model()->count();
        if (from == "grid")
            press("Right");
        else if (from == "button")
            panel->toneButton()->setFocus();
        else
            panel->searchField()->setFocus();
        QGraphicsItem *origin = from == "button" ? panel->toneButton() : focused();
        QSignalSpy picked(panel, &EmojiPickerPanel::picked);
        press(open);

        QVERIFY(model()->choosingSkinTone());
        const QStringList &tones = GlyphmorphTest::toneChoices;
        QCOMPARE(rowsOf(*model()), tones);
        const QStringList names = GlyphmorphTest::toneNames(locale);
        for (int i = 0; i < grid()->cells().size(); ++i) {
            EmojiCell *cell = grid()->cells().at(i);
            QCOMPARE(cell->isVisible(), i < tones.size());
            if (i < tones.size()) {
                QCOMPARE(cell->emoji(), tones.at(i));
                QCOMPARE(cell->accessibleName(), names.at(i));
            }
        }
        QCOMPARE(focused(), grid()->cells().at(before));

        press(close);
        QVERIFY(!model()->choosingSkinTone());
        QCOMPARE(model()->count(), sectionCount);
        QCOMPARE(focused(), origin);
        QTRY_COMPARE(model()->skinTone(), after);
        // Every cell with tone variants shows the tone, as does the button.
        const QString wave = model()->withSkinTone(QStringLiteral("👋"), after);
        QTRY_COMPARE(grid()->cells().at(0)->emoji(), wave);
        QCOMPARE(model()->emojiAt(0), wave);
        QCOMPARE(panel->toneButton()->emoji(), model()->withSkinTone(hand, after));
        // Choosing a tone is no emoji to insert, nor one used.
        QCOMPARE(picked.count(), 0);
        QVERIFY(preferences()->recentEmoji().isEmpty());
    }

    void recentlyUsedFirst()
    {
        QSignalSpy picked(panel, &EmojiPickerPanel::picked);
        model()->setSkinTone(1);
        model()->setQuery("thumbs up");
        press("Down Return");
        model()->setSkinTone(0);
        model()->setQuery("grinning face");
        press("Down Return");
        QCOMPARE(picked.count(), 2);
        QCOMPARE(picked.at(0).at(0).toString(), QStringLiteral("👍🏻"));
        QCOMPARE(preferences()->recentEmoji(), QStringList({ "😀", "👍🏻" }));
        // A new picker opens on them, as they were picked.
        EmojiPickerModel reopened;
        QCOMPARE(reopened.section(), 0);
        QCOMPARE(rowsOf(reopened), QStringList({ "😀", "👍🏻" }));
        QCOMPARE(reopened.variantCountAt(1), 6);
    }

    void keys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("row"); // from the end when negative
        QTest::newRow("right") << "Right Right" << 2;
        QTest::newRow("left at start") << "Left" << 0;
        QTest::newRow("down") << "Right Down" << columns + 1;
        QTest::newRow("up") << "Down Down Up" << columns;
        QTest::newRow("end home") << "End Home" << 0;
        QTest::newRow("page down") << "Right PgDown" << columns * visibleRows + 1;
        QTest::newRow("page down up") << "PgDown PgDown PgUp" << columns * visibleRows;
        QTest::newRow("page up at start") << "Right PgUp" << 1;
        QTest::newRow("end, the last cell on screen") << "End" << -1;
        QTest::newRow("down at the end") << "End Down" << -1;
    }

    void keys()
    {
        QFETCH(QString, keys);
        QFETCH(int, row);
        press(keys);
        row += row < 0 ? model()->count() : 0;
        QCOMPARE(current(), row);
        // The focused cell is on screen and shows that row.
        auto *cell = dynamic_cast<EmojiCell *>(focused());
        QVERIFY(cell);
        QCOMPARE(cell->emoji(), model()->emojiAt(row));
        QVERIFY(cell->isVisible());
    }

    // Space, Menu or a right click opens the variants of the focused cell, and Escape goes back
    // to it; a pick is remembered for the cell, in groups and search results, whatever the
    // default tone.
    void variants_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("picked");
        QTest::newRow("Space, Escape") << "Space" << QString("Escape") << QString();
        QTest::newRow("Menu, Escape") << "Menu" << QString("Escape") << QString();
        QTest::newRow("right click, Escape") << "RightClick" << QString("Escape") << QString();
        QTest::newRow("Space, Return picks") << "Space" << QString("Return") << QString("👋🏼");
    }

    void variants()
    {
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(QString, picked);
        QSignalSpy picks(panel, &EmojiPickerPanel::picked);
        panel->openVariants(rowsOf(*model()).indexOf(QStringLiteral("☺️")));
        QVERIFY(model()->variantsOf().isEmpty()); // it has none
        model()->setSection(2);
        grid()->focusRow(1);
        press("Left " + open);
        QCOMPARE(model()->variantsOf(), QStringLiteral("👋"));
        QCOMPARE(rowsOf(*model()), EmojiPickerCatalogue::instance().variantsOf("👋"));
        QCOMPARE(current(), 0);
        press("Right Right " + close);
        QCOMPARE(picks.count(), picked.isEmpty() ? 0 : 1);
        if (picked.isEmpty()) {
            QVERIFY(model()->variantsOf().isEmpty());
            QCOMPARE(current(), 0);
            return;
        }
        QCOMPARE(picks.at(0).at(0).toString(), picked);
        model()->setVariantsOf(QString());
        QTRY_COMPARE(model()->emojiAt(0), picked);
        model()->setSkinTone(5);
        model()->setQuery("thumbs up");
        QTRY_COMPARE(model()->emojiAt(0), QStringLiteral("👍🏿"));
        model()->setQuery("waving hand");
        QCOMPARE(model()->emojiAt(0), picked);
    }

    // Letters go to the search field from anywhere; Escape clears it, then is left to the dialog.
    // In the field, Return picks the first result and keeps the query.
    void searchKeys()
    {
        QSignalSpy picked(panel, &EmojiPickerPanel::picked);
        press("Right");
        QTest::keyClicks(window->viewport(), "cat");
        QCOMPARE(panel->searchField()->text(), QStringLiteral("cat"));
        QCOMPARE(model()->query(), QStringLiteral("cat"));
        QVERIFY(rowsOf(*model()).contains(QStringLiteral("🐈")));
        press("Down Right");
        QTest::keyClicks(window->viewport(), "s");
        QCOMPARE(model()->query(), QStringLiteral("cats"));
        press("Down Escape");
        QVERIFY(model()->query().isEmpty());
        QVERIFY(panel->searchField()->text().isEmpty());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QVERIFY(!grid()->otherKeys(&escape));

        panel->searchField()->setFocus();
        QTest::keyClicks(window->viewport(), "thumbs up");
        press("Escape");
        QVERIFY(panel->searchField()->text().isEmpty());
        QTest::keyClicks(window->viewport(), "thumbs up");
        press("Return");
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toString(), QStringLiteral("👍"));
        QCOMPARE(panel->searchField()->text(), QStringLiteral("thumbs up"));
    }

    void accessibleNames_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("English") << "en";
        QTest::newRow("German") << "de";
        QTest::newRow("Japanese") << "ja";
    }

    void accessibleNames()
    {
        QFETCH(QString, locale);
        model()->setLocale(locale);
        press("PgDown");
        const EmojiData data;
        QVERIFY(grid()->firstShown() > 0);
        for (int i = 0; i < grid()->cells().size(); ++i) {
            const QString emoji = model()->emojiAt(grid()->firstShown() + i);
            QCOMPARE(grid()->cells().at(i)->accessibleName(), data.emojiName(emoji, locale));
            QVERIFY(!grid()->cells().at(i)->accessibleName().isEmpty());
        }
        QCOMPARE(panel->tabs().at(1)->accessibleName(), QStringLiteral("Smileys & Emotion"));
        QCOMPARE(panel->toneButton()->accessibleName(), data.emojiName("✋", locale));
    }

    // Only what is on screen is drawn: a page at opening, a page more when scrolled.
    void drawsVisibleCellsOnly()
    {
        const int before = EmojiCellImage::madeCount();
        model()->setSection(8);
        window->grab();
        const int opened = EmojiCellImage::madeCount() - before;
        // The grid's cells, the section tabs and the tone button.
        const int onScreen = columns * visibleRows + panel->tabs().size() + 1;
        QVERIFY2(opened <= onScreen, qPrintable(QString::number(opened)));
        press("PgDown");
        window->grab();
        QVERIFY(EmojiCellImage::madeCount() - before <= opened + columns * visibleRows);
        QVERIFY(EmojiCellImage::madeCount() - before > opened);
    }

    void cellImages()
    {
        // The Emoji theme's image is used where it is cached.
        const QString cached = EmojiCellImage::themeImagePath(QStringLiteral("🫠"), true);
        QVERIFY(QDir().mkpath(QFileInfo(cached).path()));
        QImage blue(40, 40, QImage::Format_ARGB32_Premultiplied);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(cached));
        const QImage fromTheme = EmojiPickerModel::emojiImage(QStringLiteral("🫠"), 37);
        QCOMPARE(fromTheme.size(), QSize(37, 37));
        QCOMPARE(fromTheme.pixelColor(18, 18), QColor(Qt::blue));
        QCOMPARE(EmojiCellImage::key(QStringLiteral("❤️")), QStringLiteral("2764"));
        QCOMPARE(
            EmojiCellImage::emojiOfKey(QStringLiteral("1f44d-1f3fd")), QStringLiteral("👍🏽"));
        QVERIFY(EmojiCellImage::emojiOfKey(QStringLiteral("1f44d-zz")).isEmpty());
        if (!hasColourFont())
            QSKIP("Noto Color Emoji is not installed (Debian: fonts-noto-color-emoji)");
        // One glyph, with or without U+FE0F: Qt would draw "❤️‍🔥" as two without the
        // removal.
        const QImage fire = EmojiPickerModel::emojiImage(QStringLiteral("❤️‍🔥"), 32);
        const QImage bare = EmojiPickerModel::emojiImage(QStringLiteral("❤‍🔥"), 32);
        QCOMPARE(fire, bare);
        int opaque = 0;
        for (int y = 0; y < fire.height(); ++y) {
            for (int x = 0; x < fire.width(); ++x)
                opaque += qAlpha(fire.pixel(x, y)) > 128;
        }
        QVERIFY(opaque > 32 * 32 / 4);
    }
};

GLYPHMORPH_TEST_MAIN(EmojiPickerTest)
#include "emojipickertest.moc"
