// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojidata.h"
#include "emojigraphemes_p.h"
#include "emojitree.h"
#include "roundtriphtml_p.h"
#include "testenvironment.h"

#include <QRandomGenerator>

using namespace GlyphmorphTest;

class EmojiScanTest : public QObject
{
    Q_OBJECT

private:
    EmojiTree emoji;

private Q_SLOTS:
    void everyEmojiLineIsOneImage()
    {
        const EmojiData data;
        int lines = 0;
        for (const QString &line : data.sequences()) {
            const bool textByDefault = data.qualification(line) == EmojiData::Component
                || (data.qualification(line) == EmojiData::Unqualified
                    && line.toUcs4().size() == 1);
            // Alone, after a word, and twice in a row.
            const QString expected = textByDefault ? line : img(line);
            QCOMPARE(emoji.html(line), expected);
            QCOMPARE(emoji.html("great" + line + line), "great" + expected + expected);
            lines += textByDefault ? 0 : 1;
        }
        QVERIFY(lines > 4500);
    }

    void graphemes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        const QString thumbs = QStringLiteral("\U0001F44D");
        const QString toned = QStringLiteral("\U0001F44D\U0001F3FD");
        const QString family
            = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
        const QString germany = QStringLiteral("\U0001F1E9\U0001F1EA");
        const QString andorra = QStringLiteral("\U0001F1E6\U0001F1E9");
        const QString keycap = QStringLiteral("1\uFE0F\u20E3");
        QTest::newRow("after a word, twice")
            << "great" + thumbs + thumbs << "great" + img(thumbs) + img(thumbs);
        QTest::newRow("with a tone, one image") << "ok" + toned << "ok" + img(toned);
        QTest::newRow("family, one image") << family << img(family);
        QTest::newRow("flags pair from the run's start")
            << "a" + andorra + germany.right(2) << "a" + img(andorra) + germany.right(2);
        QTest::newRow("two flags") << germany + andorra << img(germany) + img(andorra);
        QTest::newRow("keycap inside a word") << "no" + keycap + "!"
                                              << "no" + img(keycap) + "!";
        const QString unknown = QStringLiteral("\U0001F468\u200D\U0001F9B0\u200D\U0001F9B0");
        QTest::newRow("unknown joined sequence stays text") << unknown << unknown;
        const QString lone = QStringLiteral("x\U0001F3FD \u200D \uFE0F \U0001F1E9");
        QTest::newRow("lone components stay text") << lone << lone;
        QTest::newRow("text-default characters need FE0F") << QStringLiteral(
            "\u00A9 2026 \u263A 123 #1 *") << QStringLiteral("\u00A9 2026 \u263A 123 #1 *");
        QTest::newRow("FE0F makes them emoji")
            << QStringLiteral("x\u263A\uFE0F") << "x" + img(QStringLiteral("\u263A\uFE0F"));
        QTest::newRow("an emoji after a joiner belongs to what precedes") << QStringLiteral(
            "\U0001F468\u200D\U0001F44D") << QStringLiteral("\U0001F468\u200D\U0001F44D");
        QTest::newRow("a mark after an emoji keeps it text")
            << QStringLiteral("\U0001F44D\u0301") << QStringLiteral("\U0001F44D\u0301");
        QTest::newRow("shortcodes at word starts only")
            << ":thumbsup: x:thumbsup: :+1:" << img(":thumbsup:") + " x:thumbsup: " + img(":+1:");
        QTest::newRow("a shortcode whose end takes a mark stays text") << QStringLiteral(
            ":thumbsup:\uFE0F :+1:\u0301") << QStringLiteral(":thumbsup:\uFE0F :+1:\u0301");
        QTest::newRow("an emoji right after a shortcode's start")
            << ":+1" + thumbs << ":+1" + img(thumbs);
        QTest::newRow("no emoji at all") << "https://example.org/a:b?c=1#x :p :) <3 ©"
                                         << "https://example.org/a:b?c=1#x :p :) <3 ©";
        QTest::newRow("line ends around emoji")
            << "a\n" + thumbs + "\r\n" + thumbs << "a<br>" + img(thumbs) + "<br><br>" + img(thumbs);
    }

    void graphemes()
    {
        QFETCH(QString, text);
        QFETCH(QString, html);
        QCOMPARE(emoji.html(text), html);
    }

    // The local boundary rule never claims a boundary that full segmentation does not have.
    void boundariesAgreeWithSegmentation()
    {
        const QStringList pieces { QStringLiteral("\U0001F44D"), QStringLiteral("\U0001F3FD"),
            QStringLiteral("\u200D"), QStringLiteral("\uFE0F"), QStringLiteral("\u20E3"),
            QStringLiteral("\U0001F1E9"), QStringLiteral("\U0001F1EA"),
            QStringLiteral("\U0001F468"), QStringLiteral("\U0001F9B0"), QStringLiteral("\u2764"),
            QStringLiteral("\U0001F3F4"), QStringLiteral("\U000E0067"),
            QStringLiteral("\U000E007F"), QStringLiteral("1"), QStringLiteral("#"),
            QStringLiteral("a"), QStringLiteral(" "), QStringLiteral("\u0301"),
            QStringLiteral("\u0600"), QStringLiteral("\r"), QStringLiteral("\n"),
            QStringLiteral("\u263A"), QStringLiteral("\u00A9") };
        QRandomGenerator random(20261207);
        int imagesSeen = 0;
        for (int round = 0; round < 20000; ++round) {
            QString text;
            const int count = int(random.bounded(12));
            for (int i = 0; i < count; ++i)
                text += pieces.at(int(random.bounded(pieces.size())));
            const QVector<int> ends = EmojiGraphemes::ends(text);
            const auto isEnd = [&](int at) {
                return at == 0 || ends.contains(at);
            };
            for (int at = 0; at <= text.size(); ++at)
                QVERIFY2(
                    !EmojiGraphemes::isBoundary(text.constData(), text.size(), at) || isEnd(at),
                    qPrintable(QString::number(at) + ' ' + text.toUtf8().toHex()));
            for (const auto &image : imagesOf(emoji.html(text, {}, QStringLiteral("\n")))) {
                ++imagesSeen;
                QVERIFY2(isEnd(image.first) && isEnd(image.first + image.second.size()),
                    text.toUtf8().toHex().constData());
            }
        }
        QVERIFY(imagesSeen > 1000);
    }

    void emojiTextAndTitles()
    {
        ConversionOptions text;
        text.emojiText = true;
        const QString thumbs = QStringLiteral("\U0001F44D");
        QCOMPARE(emoji.html(":thumbsup: ok" + thumbs + " :nope:", text),
            thumbs + " ok" + thumbs + " :nope:");
        ConversionOptions roundTrip;
        roundTrip.roundTrip = true;
        QCOMPARE(emoji.html("a" + thumbs, roundTrip),
            "a<img src='/" + thumbs + "' title='thumbs up' alt='" + thumbs
                + "' width='20' height='20'>");
    }

    // Every line comes back as written, qualification and all.
    void roundTripGivesEveryLineBack()
    {
        ConversionOptions roundTrip;
        roundTrip.roundTrip = true;
        const QStringList lines = EmojiData().sequences();
        const QString text = lines.join('\n');
        const QString html = emoji.html(text, roundTrip);
        QCOMPARE(RoundTripHtml::read(html), text);
    }

    // Each image is drawn once, the first time HTML names it; emoji text needs no image.
    void imagesArePreparedOnFirstUse()
    {
        EmojiTree fresh;
        const QString thumbs = QStringLiteral("\U0001F44D");
        ConversionOptions text;
        text.emojiText = true;
        fresh.html(thumbs, text);
        QCOMPARE(fresh.prepared.loadRelaxed(), 0);
        fresh.html(thumbs + thumbs + ":thumbsup:");
        fresh.html(thumbs);
        QCOMPARE(fresh.prepared.loadRelaxed(), 2);
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmojiScanTest)
#include "emojiscantest.moc"
