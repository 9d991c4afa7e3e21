// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Round trip, strict code ends and the revert of an image: the opt-in departures of the facade.
#include "emosequencesearchtree_p.h"
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mtextedit.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QTextDocument>

namespace {

QString img(const QString &path)
{
    return "<img src='" + path + "'  width='20' height='20'>";
}

// A random text of codes, markup, entities, quotes, line ends and non-ASCII, joined directly or
// by spaces.
QString randomText(QRandomGenerator &random, const QStringList &codes)
{
    static const QStringList pieces = { "a", "Default", "&", "<", ">", "\"", "'", "\n", "\r",
        "\r\n", " ", "  ", "\t", "é", "日本", "\u2028", "😀", "&amp;", "&lt;3", "<br>", "&#13;",
        "<img src='x' alt=':)' width='20' height='20'>", "<b>", ";", "." };
    QString text;
    const int count = random.bounded(12);
    for (int i = 0; i < count; ++i) {
        const QStringList &from = random.bounded(3) == 0 ? codes : pieces;
        text += from.at(random.bounded(from.size()));
        if (random.bounded(2))
            text += QLatin1Char(' ');
    }
    return text;
}

} // namespace

class ConversionOptionsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

private Q_SLOTS:
    void initTestCase() { qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_root.path())); }

    // The built-in theme's codes, plain and escaped, in any company, with either line break.
    void roundTripGivesBackTheText()
    {
        Glyphmorpher morpher;
        const QStringList codes = EmoticonThemeManager::m_pInstance->themeForAccountPath(QString())
                                      .codeSequenceToFilepathMapping()
                                      .keys();
        QVERIFY(codes.size() > 80);
        QRandomGenerator random(17);
        for (int i = 0; i < 4000; ++i) {
            const QString text = randomText(random, codes);
            const QString lineBreak = i % 2 ? QStringLiteral("<br>") : QStringLiteral("<br>\r\n");
            for (const auto strict :
                { Glyphmorpher::DefaultConversion, Glyphmorpher::StrictCodeEnds }) {
                const QString html = morpher.transformPlainTextToHTML(
                    text, QString(), 0, lineBreak, Glyphmorpher::RoundTrip | strict);
                QVERIFY2(!html.contains(QLatin1Char('"')) && !html.contains(QLatin1String("<b>")),
                    qPrintable(html));
                QCOMPARE(morpher.transformHTMLToPlainText(html, Glyphmorpher::RoundTrip), text);
            }
        }
        // An image carries its code for readers of either kind.
        const QString html = morpher.transformPlainTextToHTML(QStringLiteral("I <3 it"), QString(),
            0, QStringLiteral("<br>"), Glyphmorpher::RoundTrip);
        QVERIFY2(html.contains(QLatin1String(" title='&lt;3' alt='&lt;3' width='20'")),
            qPrintable(html));
        QCOMPARE(morpher.transformHTMLToPlainText(html), QStringLiteral("I &lt;3 it"));
        QCOMPARE(
            morpher.transformHTMLToPlainText(
                QStringLiteral("<IMG SRC=x ALT=\":&apos;(\">&#x1F600;<br/>&bogus;<i>&quot;</i>"),
                Glyphmorpher::RoundTrip),
            QStringLiteral(":'(😀\n&bogus;<i>\"</i>"));
    }

    void strictCodeEnds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        const auto row = [](const char *name, const QString &text, const QString &html) {
            QTest::newRow(name) << text << html;
        };
        // A letter, digit or mark right after a code keeps it text.
        for (const QString text : { ":Default", ":)2", ":)é", ":)𝐀", ":)́", ":-x" })
            row(qPrintable(text), text, text);
        row("end, space, line end", ":D :)\n:D", img("/d") + " " + img("/a") + "<br>" + img("/d"));
        row("punctuation", ":D, :).", img("/d") + ", " + img("/a") + ".");
        row("symbol: codes in a row", "<3<3:)", img("/h") + img("/h") + img("/a"));
        row("emoji after code", ":)😀", img("/a") + "😀");
        row("shorter code that passes", ":-)x", img("/b") + ")x");
        row("longer code that passes", ":-):", img("/c") + ":");
    }

    void strictCodeEnds()
    {
        QFETCH(QString, text);
        const QHash<QString, QString> mapping { { ":)", "/a" }, { ":-", "/b" }, { ":-)", "/c" },
            { ":D", "/d" }, { "<3", "/h" } };
        emoSequenceSearchTreePrivate tree(mapping);
        QTEST(tree.performPlainText2HTMLReplacement(text, 0, "<br>", Glyphmorpher::StrictCodeEnds),
            "html");
    }

    void revert_data()
    {
        QTest::addColumn<QString>("before"); // "@" is an image of ":)"; "|" the cursor
        QTest::addColumn<bool>("reverted");
        QTest::addColumn<QString>("after");
        QTest::newRow("image before cursor") << "hi @|!" << true << "hi :)|!";
        QTest::newRow("text before cursor") << "hi @!|" << false << "hi @!|";
        QTest::newRow("empty editor") << "|" << false << "|";
        QTest::newRow("selection") << "[@]" << false << "[@]";
    }

    void revert()
    {
        QFETCH(QString, before);
        Glyphmorpher morpher;
        QVERIFY(!morpher.revertEmoticonBeforeCursor(nullptr));
        MTextEdit editor;
        setContent(morpher, editor, before);
        QTEST(morpher.revertEmoticonBeforeCursor(&editor), "reverted");
        QTEST(content(editor), "after");
        QFETCH(bool, reverted);
        if (!reverted)
            return;
        editor.document()->undo();
        QCOMPARE(content(editor).remove('|'), QString(before).remove('|'));
        QTextCursor back = editor.textCursor();
        back.setPosition(int(before.indexOf('|')));
        editor.setTextCursor(back);
        QVERIFY(morpher.revertEmoticonBeforeCursor(&editor));
        // The in-place replacement the change brings leaves the code as text, also while the
        // user types after it; edited, the code is read afresh.
        const int end = editor.cursorPosition();
        typeAt(morpher, editor, end - 2, 2, QString());
        typeAt(morpher, editor, end, 1, QStringLiteral(" "));
        QCOMPARE(editor.text().count(QChar::ObjectReplacementCharacter), 0);
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(end);
        cursor.deletePreviousChar();
        cursor.insertText(QStringLiteral("("));
        typeAt(morpher, editor, end - 1, 1, QString());
        QCOMPARE(editor.text().count(QChar::ObjectReplacementCharacter), 1);
    }

    void toolFlags_data()
    {
        QTest::addColumn<QStringList>("html");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output"); // of html, or of plain --round-trip after it
        const auto row = [](const char *name, const QStringList &html, const QByteArray &input,
                             int exitCode, const QByteArray &output) {
            QTest::newRow(name) << html << input << exitCode << output;
        };
        const QByteArray chat = "a <3 & \"b\" 'c'\r\n<i>\u00e9 :)\n\n";
        row("round trip", { "--round-trip" }, chat, 0, chat);
        row("round trip, strict, line break",
            { "--round-trip", "--strict", "--line-break", "<br>\\n" }, ":Dx :D\r\n", 0,
            ":Dx :D\r\n");
        row("round trip, no final line end", { "--round-trip" }, "\r:)", 0, "\r:)");
        // Lines longer than the tool's pieces, without a space to cut at.
        const QByteArray line = "x" + QByteArray(1200000, '&') + " :)\n";
        row("round trip, long line", { "--round-trip" }, line, 0, line);
        row("strict", { "--strict", ":Default", ":D" }, {}, 0, ":Default <img");
        row("round trip escapes itself", { "--round-trip", "--escape", "x" }, {}, 2, {});
        row("line break that does not read back", { "--round-trip", "--line-break", "<p>", "x" },
            {}, 2, {});
    }

    void toolFlags()
    {
        QFETCH(QStringList, html);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QProcess first;
        first.start(QStringLiteral(GLYPHMORPH_TOOL_PATH), QStringList { "html" } + html);
        first.write(input);
        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(60000));
        QTEST(first.exitCode(), "exitCode");
        QByteArray result = first.readAllStandardOutput();
        if (html.contains("--round-trip") && first.exitCode() == 0) {
            QProcess second;
            second.start(QStringLiteral(GLYPHMORPH_TOOL_PATH), { "plain", "--round-trip" });
            second.write(result);
            second.closeWriteChannel();
            QVERIFY(second.waitForFinished(60000));
            QCOMPARE(second.exitCode(), 0);
            result = second.readAllStandardOutput();
            QCOMPARE(result, output);
        } else {
            QVERIFY2(result.startsWith(output), result.constData());
        }
    }

private:
    // Builds the editor content of a row: "@" an image of ":)", "|" the cursor, "[" "]" a
    // selection.
    void setContent(Glyphmorpher &morpher, MTextEdit &editor, const QString &layout)
    {
        const QString path = QDir(m_root.path()).filePath(QStringLiteral("smile.png"));
        QVERIFY(GlyphmorphTest::writeImage(path));
        int cursorAt = 0;
        int anchorAt = -1;
        for (const QChar c : layout) {
            QTextCursor cursor = editor.textCursor();
            if (c == QLatin1Char('@'))
                morpher.addEmoticonToTextEdit(&editor, QStringLiteral(":)"), path);
            else if (c == QLatin1Char('|') || c == QLatin1Char(']'))
                cursorAt = cursor.position();
            else if (c == QLatin1Char('['))
                anchorAt = cursor.position();
            else
                cursor.insertText(c);
        }
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(anchorAt < 0 ? cursorAt : anchorAt);
        cursor.setPosition(cursorAt, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        editor.document()->clearUndoRedoStacks();
    }

    static QString content(const MTextEdit &editor)
    {
        QString text = editor.text().replace(QChar::ObjectReplacementCharacter, QLatin1Char('@'));
        const QTextCursor cursor = editor.textCursor();
        if (!cursor.hasSelection())
            return text.insert(cursor.position(), QLatin1Char('|'));
        return text.insert(cursor.selectionEnd(), QLatin1Char(']'))
            .insert(cursor.selectionStart(), QLatin1Char('['));
    }

    // Inserts @p text at @p position and runs the in-place replacement for the change, as an
    // application does on the document's change signal.
    void typeAt(
        Glyphmorpher &morpher, MTextEdit &editor, int position, int added, const QString &text)
    {
        if (!text.isEmpty()) {
            QTextCursor cursor = editor.textCursor();
            cursor.setPosition(position);
            cursor.insertText(text);
            added = int(text.size());
        }
        editor.setProperty("positionOfChange", position);
        editor.setProperty("charactersPasted", added);
        morpher.transformTextEditContentToEmoticonInPlace(&editor, QString(), false);
    }
};

GLYPHMORPH_TEST_MAIN(ConversionOptionsTest)

#include "conversionoptionstest.moc"
