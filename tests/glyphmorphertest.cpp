// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The facade, with its opt-in departures: round trip, strict code ends and the revert of an image.
#include "editormodel.h"
#include "emosequencesearchtree_p.h"
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>
#include <mtextedit.h>

#include <QRandomGenerator>
#include <QTextDocument>

using GlyphmorphTest::ThemeContent;

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

class GlyphmorpherTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_image;

private Q_SLOTS:
    void initTestCase()
    {
        // No platform UI theme: the built-in theme is not published, so a theme is installed
        // only where a test puts one.
        const QString defaults = QDir::home().filePath(QStringLiteral("defaults.conf"));
        QVERIFY(GlyphmorphTest::writeBytes(defaults, "# nothing\n"));
        qputenv("GLYPHMORPH_SETTINGS_DEFAULTS", QFile::encodeName(defaults));
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_root.path()));
        m_image = QDir(m_root.path()).filePath(QStringLiteral("image.png"));
        QVERIFY(GlyphmorphTest::writeImage(m_image));
    }

    // Peer text on which the expressions backtrack for hours is read in one pass. A million pieces
    // take a fraction of a second so, and longer than the test function's five-minute watchdog in
    // quadratic time: no machine load turns the one into the other.
    void htmlToPlainTextOnHostileInput()
    {
        Glyphmorpher morpher;
        const QStringList pieces[]
            = { { "<img src= alt='x", "" }, { "<img src=", "alt='x'>" }, { "alt='x", "" } };
        for (const QStringList &piece : pieces) {
            const QString html = "<img src=" + piece[0].repeated(1000000) + piece[1];
            QCOMPARE(morpher.transformHTMLToPlainText(html), html);
        }
    }

    void plainTextToHtml()
    {
        Glyphmorpher morpher;
        // No theme at all: the text comes back as it is, line ends included.
        QCOMPARE(morpher.transformPlainTextToHTML(
                     QStringLiteral("a :x:\r\nb"), QString(), 0, QStringLiteral("<br>")),
            QStringLiteral("a :x:\r\nb"));

        useTheme();
        QCOMPARE(morpher.transformPlainTextToHTML("a :x:\nb", QString(), 42, "<br>"),
            "a " + img(m_root.filePath("XY/x.png")) + "<br>b");
    }

    void managerLivesWithTheMorpher()
    {
        QVERIFY(!SingletonBase<EmoticonThemeManager>::m_pInstance);
        {
            Glyphmorpher morpher;
            QVERIFY(SingletonBase<EmoticonThemeManager>::m_pInstance);
        }
        // A morpher whose manager another one took down starts a new one on its next use.
        Glyphmorpher first;
        delete new Glyphmorpher;
        QVERIFY(!SingletonBase<EmoticonThemeManager>::m_pInstance);
        QCOMPARE(first.transformPlainTextToHTML(QStringLiteral("a"), QString(), 0, QString()),
            QStringLiteral("a"));
        QVERIFY(SingletonBase<EmoticonThemeManager>::m_pInstance);
    }

    void addEmoticon()
    {
        Glyphmorpher morpher;
        morpher.addEmoticonToTextEdit(nullptr, QStringLiteral(":)"), m_image);
        QCOMPARE(morpher.transformTextCursorContentToPlainText(nullptr), QString());
        QCOMPARE(morpher.transformInverseTextCursorContentToPlainText(nullptr), QString());
        MTextEdit editor;
        editor.setText(QStringLiteral("ab"));
        editor.setCursorPosition(1);
        morpher.addEmoticonToTextEdit(
            &editor, QStringLiteral(":)"), m_image + QStringLiteral(".missing"));
        QCOMPARE(editor.document()->toPlainText(), QStringLiteral("ab"));

        morpher.addEmoticonToTextEdit(&editor, QStringLiteral(":)"), m_image);
        QCOMPARE(
            GlyphmorphTest::positionNotation(editor.document()), "a{:)@" + m_image + "}b\u2029");
        QCOMPARE(morpher.transformTextEditContentToPlainText(&editor), QStringLiteral("a :)b"));
    }

    // Codes that no longer make images come back as text longer than the limit: it stays, may
    // shrink, and what is typed still meets the limit.
    void textBeyondTheLimitStays()
    {
        Glyphmorpher morpher;
        useTheme();
        MTextEdit editor;
        editor.setMaxLength(3);
        morpher.addEmoticonToTextEdit(&editor, QStringLiteral("8-)"), m_image);
        morpher.addEmoticonToTextEdit(&editor, QStringLiteral(":-)"), m_image);
        morpher.transformTextEditContentToEmoticonInPlace(&editor, QString(), true);
        QCOMPARE(editor.text(), QStringLiteral("8-):-)"));
        QTextCursor cursor(editor.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("x"));
        QCOMPARE(editor.text(), QStringLiteral("8-):-)"));
        cursor.deletePreviousChar();
        cursor.deletePreviousChar();
        cursor.insertText(QStringLiteral("xy"));
        QCOMPARE(editor.text(), QStringLiteral("8-):"));
        QVERIFY(!editor.setText(QStringLiteral("abcdefgh")));
        QCOMPARE(editor.text(), QStringLiteral("abc"));
    }

    // The built-in theme's codes, plain and escaped, in any company, with either line break. This
    // and the tests below publish the built-in theme: they come after those that want none.
    void roundTripGivesBackTheText()
    {
        Glyphmorpher morpher;
        useBuiltInTheme();
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
        // A letter, digit or mark right after a code keeps it text.
        for (const QString text : { ":Default", ":)2", ":)é", ":)𝐀", ":)́", ":-x" })
            QTest::newRow(qPrintable(text)) << text << text;
        QTest::newRow("end, space, line end")
            << ":D :)\n:D" << img("/d") + " " + img("/a") + "<br>" + img("/d");
        QTest::newRow("punctuation") << ":D, :)." << img("/d") + ", " + img("/a") + ".";
        QTest::newRow("symbol: codes in a row") << "<3<3:)" << img("/h") + img("/h") + img("/a");
        QTest::newRow("emoji after code") << ":)😀" << img("/a") + "😀";
        QTest::newRow("shorter code that passes") << ":-)x" << img("/b") + ")x";
        QTest::newRow("longer code that passes") << ":-):" << img("/c") + ":";
    }

    void strictCodeEnds()
    {
        QFETCH(QString, text);
        const QHash<QString, QString> mapping { { ":)", "/a" }, { ":-", "/b" }, { ":-)", "/c" },
            { ":D", "/d" }, { "<3", "/h" } };
        // Each engine applies the option.
        for (const auto path : { emoSequenceSearchTreePrivate::PlainTextPath::LongTextScan,
                 emoSequenceSearchTreePrivate::PlainTextPath::MessagePath }) {
            emoSequenceSearchTreePrivate tree(mapping);
            tree.pinnedPath = path;
            QTEST(tree.performPlainText2HTMLReplacement(text, "<br>", { false, true }), "html");
        }
    }

    // Refused with no change: no editor, an empty editor, text before the cursor, a selection.
    void revert()
    {
        Glyphmorpher morpher;
        QVERIFY(!morpher.revertEmoticonBeforeCursor(nullptr));
        useBuiltInTheme();
        MTextEdit editor;
        QVERIFY(!morpher.revertEmoticonBeforeCursor(&editor));
        editor.setText(QStringLiteral("hi !"));
        editor.setCursorPosition(3);
        morpher.addEmoticonToTextEdit(&editor, QStringLiteral(":)"), m_image);
        editor.document()->clearUndoRedoStacks();
        const QString image = QStringLiteral("hi \uFFFC!");
        editor.setCursorPosition(5);
        QVERIFY(!morpher.revertEmoticonBeforeCursor(&editor));
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(3);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        QVERIFY(!morpher.revertEmoticonBeforeCursor(&editor));
        QCOMPARE(editor.text(), image);
        QCOMPARE(editor.textCursor().selectionStart(), 3);

        // The code, in one undo step, with the cursor after it.
        editor.setCursorPosition(4);
        QVERIFY(morpher.revertEmoticonBeforeCursor(&editor));
        QCOMPARE(editor.text(), QStringLiteral("hi :)!"));
        QCOMPARE(editor.cursorPosition(), 5);
        editor.document()->undo();
        QCOMPARE(editor.text(), image);
        editor.setCursorPosition(4);
        QVERIFY(morpher.revertEmoticonBeforeCursor(&editor));
        // The in-place replacement the change brings leaves the code as text, also while the
        // user types after it; edited, the code is read afresh.
        walkChange(morpher, editor, 3, 2);
        cursor.setPosition(5);
        cursor.insertText(QStringLiteral(" "));
        walkChange(morpher, editor, 5, 1);
        QCOMPARE(editor.text().count(QChar::ObjectReplacementCharacter), 0);
        cursor.setPosition(5);
        cursor.deletePreviousChar();
        cursor.insertText(QStringLiteral("("));
        walkChange(morpher, editor, 4, 1);
        QCOMPARE(editor.text().count(QChar::ObjectReplacementCharacter), 1);
    }

private:
    // Runs the in-place replacement for @p added characters put in at @p position, as an
    // application does on the document's change signal.
    static void walkChange(Glyphmorpher &morpher, MTextEdit &editor, int position, int added)
    {
        editor.setProperty("positionOfChange", position);
        editor.setProperty("charactersPasted", added);
        morpher.transformTextEditContentToEmoticonInPlace(&editor, QString(), false);
    }

    // Publishes the built-in theme, which no platform UI theme did, and chooses it.
    void useBuiltInTheme()
    {
        MGConfItem(QStringLiteral("/meegotouch/theme/name")).set(QStringLiteral("base"));
        const QString uuid = QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158");
        auto *manager = SingletonBase<EmoticonThemeManager>::m_pInstance;
        QTRY_VERIFY(manager->emoticonThemes().contains(uuid));
        manager->setCurrentTheme(uuid);
    }

    // Installs and chooses a theme with the codes ":x:" and ":y:".
    void useTheme()
    {
        const ThemeContent content { QStringLiteral("uuid-xy"), QString(),
            { QStringLiteral("x"), QStringLiteral("y") } };
        auto *manager = SingletonBase<EmoticonThemeManager>::m_pInstance;
        if (!manager->emoticonThemes().contains(content.uuid)) {
            QVERIFY(!GlyphmorphTest::writeTheme(m_root.path(), QStringLiteral("XY"), content)
                         .isEmpty());
            QTRY_VERIFY(manager->emoticonThemes().contains(content.uuid));
        }
        manager->setCurrentTheme(content.uuid);
    }
};

GLYPHMORPH_TEST_MAIN(GlyphmorpherTest)
#include "glyphmorphertest.moc"
