// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "editormodel.h"
#include "htmltoplainmodel.h"
#include "richdocument.h"
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>
#include <mtextedit.h>

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>

using GlyphmorphTest::htmlToPlainWithExpressions;
using GlyphmorphTest::ThemeContent;

namespace {

QString tagFor(const QString &code)
{
    return QStringLiteral("<img src='/i/x.png' alt='") + code
        + QStringLiteral("' width='20' height='20'>");
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

    // What the expressions make of the cases they were written for; random texts below.
    void htmlToPlainText_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tags and line breaks")
            << "a " + tagFor(":)") + tagFor(":)") + "<br>" + tagFor("&lt;3") << "a :):)\n&lt;3";
        QTest::newRow("no alt") << "<img src='/i/x.png'  width='20' height='20'>"
                                << "<img src='/i/x.png'  width='20' height='20'>";
        QTest::newRow("height before width") << "<img src='x' alt=':)' height='20' width='20'>"
                                             << "<img src='x' alt=':)' height='20' width='20'>";
        QTest::newRow("size not digits") << "<img src='x' alt=':)' width='2x' height='20'>"
                                         << "<img src='x' alt=':)' width='2x' height='20'>";
        QTest::newRow("attribute between alt and width")
            << "<img src='x' alt=':)' title='t' width='20' height='20'>"
            << ":)' title='t";
        QTest::newRow("br variants") << "<br><BR><br/>"
                                     << "\n<BR><br/>";
        QTest::newRow("nested tag start") << "<img src=a " + tagFor(":P") << ":P";
    }

    void htmlToPlainText()
    {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        Glyphmorpher morpher;
        QCOMPARE(morpher.transformHTMLToPlainText(html), expected);
        QCOMPARE(htmlToPlainWithExpressions(html), expected);
    }

    // Random texts from the pieces the expressions care about, against the expressions; whole tags
    // are rare among them, so the near misses above stay.
    void htmlToPlainTextAgreesWithTheExpressions()
    {
        const QStringList pieces = { "<img src=", "alt='", "'", ">", "' width='", "' height='",
            "20", "x", ":)", "<br>", " " };
        QRandomGenerator random(7);
        Glyphmorpher morpher;
        for (int i = 0; i < 20000; ++i) {
            QString html;
            for (int n = random.bounded(1, 24); n > 0; --n)
                html += pieces.at(random.bounded(pieces.size()));
            QCOMPARE(morpher.transformHTMLToPlainText(html), htmlToPlainWithExpressions(html));
        }
    }

    // Peer text on which the expressions backtrack for minutes is read in one pass: four times the
    // text takes about four times as long.
    void htmlToPlainTextOnHostileInput_data()
    {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<QString>("end");
        QTest::newRow("tag starts without end") << "<img src= alt='x"
                                                << "";
        QTest::newRow("tag starts, one end") << "<img src="
                                             << "alt='x'>";
        QTest::newRow("alts without end") << "alt='x"
                                          << "";
    }

    void htmlToPlainTextOnHostileInput()
    {
        QFETCH(QString, piece);
        QFETCH(QString, end);
        Glyphmorpher morpher;
        const double ratio = GlyphmorphTest::growth(
            [&](int n) -> QString { return "<img src=" + piece.repeated(n) + end; },
            [&](const QString &html) { QCOMPARE(morpher.transformHTMLToPlainText(html), html); },
            100000);
        QVERIFY2(ratio < 10, qPrintable(QString::number(ratio)));
    }

    void plainTextToHtml()
    {
        Glyphmorpher morpher;
        // No theme at all: the text comes back as it is, line ends included.
        QCOMPARE(morpher.transformPlainTextToHTML(
                     QStringLiteral("a :x:\r\nb"), QString(), 0, QStringLiteral("<br>")),
            QStringLiteral("a :x:\r\nb"));

        const ThemeContent content { QStringLiteral("uuid-x"), QString(), { QStringLiteral("x") } };
        const QString directory
            = GlyphmorphTest::writeTheme(m_root.path(), QStringLiteral("X"), content);
        auto *manager = SingletonBase<EmoticonThemeManager>::m_pInstance;
        QTRY_VERIFY(manager->emoticonThemes().contains(content.uuid));
        manager->setCurrentTheme(content.uuid);
        QCOMPARE(morpher.transformPlainTextToHTML(
                     QStringLiteral("a :x:\nb"), QString(), 42, QStringLiteral("<br>")),
            QStringLiteral("a <img src='") + directory
                + QStringLiteral("/x.png'  width='20' height='20'><br>b"));
        QVERIFY(QDir(directory).removeRecursively());
        QTRY_VERIFY(!manager->emoticonThemes().contains(content.uuid));
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
        MTextEdit editor;
        editor.setText(QStringLiteral("ab"));
        editor.setCursorPosition(1);
        morpher.addEmoticonToTextEdit(
            &editor, QStringLiteral(":)"), m_image + QStringLiteral(".missing"));
        QCOMPARE(editor.document()->toPlainText(), QStringLiteral("ab"));

        morpher.addEmoticonToTextEdit(&editor, QStringLiteral(":)"), m_image);
        QCOMPARE(editor.document()->toPlainText(),
            QStringLiteral("a") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("b"));
        QTextCursor cursor(editor.document());
        cursor.setPosition(2);
        const QTextImageFormat format = cursor.charFormat().toImageFormat();
        QCOMPARE(format.name(), m_image);
        QCOMPARE(format.width(), 20.0);
        QCOMPARE(format.height(), 20.0);
        QCOMPARE(format.property(QTextFormat::UserProperty).toString(), QStringLiteral(":)"));
        QCOMPARE(format.verticalAlignment(), QTextCharFormat::AlignBottom);
        QCOMPARE(morpher.transformTextEditContentToPlainText(&editor), QStringLiteral("a :)b"));
    }

    // Typed piece by piece, replaced in place after each piece, read back: the message the user
    // wrote, whatever the editor's limit; a further pass changes nothing.
    void roundTripThroughTheEditor_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("maxLength");
        const auto row
            = [](const char *name, std::initializer_list<const char *> pieces, int maxLength = -1) {
                  QStringList typed;
                  for (const char *piece : pieces)
                      typed << QString::fromUtf8(piece);
                  QTest::newRow(name) << typed << maxLength;
              };
        row("codes between words", { "hi :x: how :y: are you" });
        row("paragraphs", { "line one :x:\nline two :y: three" });
        row("code starts a paragraph", { ":x: a\n:y: b\n\n:x:" });
        row("code after a line separator", { "a\u2028:x:" });
        // The codes read back are longer than the limit the images fit in.
        row("codes longer than the limit", { ":x: :x: :x:", " :y:" }, 12);
    }

    void roundTripThroughTheEditor()
    {
        QFETCH(QStringList, typed);
        QFETCH(int, maxLength);
        Glyphmorpher morpher;
        useTheme();
        if (QTest::currentTestFailed())
            return;
        morpher.transformTextEditContentToEmoticonInPlace(nullptr, QString(), true);
        MTextEdit editor;
        editor.setMaxLength(maxLength);
        for (const QString &piece : typed) {
            QTextCursor cursor = editor.textCursor();
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(piece);
            morpher.transformTextEditContentToEmoticonInPlace(&editor, QString(), true);
        }
        const QString message = typed.join(QString());
        const int codes
            = message.count(QStringLiteral(":x:")) + message.count(QStringLiteral(":y:"));
        QCOMPARE(editor.document()->toPlainText().count(QChar::ObjectReplacementCharacter), codes);
        // Read for sending, a code after a paragraph or line start keeps its space.
        QCOMPARE(morpher.transformTextEditContentToPlainText(&editor),
            QString(message)
                .replace(QStringLiteral("\n:"), QStringLiteral("\n :"))
                .replace(QStringLiteral("\u2028:"), QStringLiteral("\u2028 :")));
        const QString converted = GlyphmorphTest::positionNotation(editor.document());
        morpher.transformTextEditContentToEmoticonInPlace(&editor, QString(), true);
        QCOMPARE(GlyphmorphTest::positionNotation(editor.document()), converted);
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

    // Random rich documents, some with a length limit: the whole-document pass makes of them
    // what the step-by-step walk makes of their text, never cut; a second pass changes nothing.
    void wholeDocumentPassOnRichDocuments()
    {
        Glyphmorpher morpher;
        QHash<QString, QString> mapping;
        useTheme(&mapping);
        if (QTest::currentTestFailed())
            return;
        const QStringList codes = mapping.keys();
        const QStringList paths = mapping.values();
        GlyphmorphTest::EditorWalkModel model(mapping);
        for (quint32 seed = 0; seed < 2000; ++seed) {
            GlyphmorphTest::RandomChoices choices(seed);
            MTextEdit editor;
            QTextCursor cursor(editor.document());
            for (int edits = 1 + choices.below(12); edits > 0; --edits)
                GlyphmorphTest::editRichDocument(cursor, choices, codes, paths);
            if (choices.below(2) == 0)
                editor.setMaxLength(choices.below(40));
            MTextEdit expected;
            expected.setText(GlyphmorphTest::readPositions(editor.document(), 0, INT_MAX,
                GlyphmorphTest::Separation::AfterWalkSeparator, false));
            model.walk(&expected, true);

            morpher.transformTextEditContentToEmoticonInPlace(&editor, QString(), true);
            const QString once = GlyphmorphTest::positionNotation(editor.document());
            morpher.transformTextEditContentToEmoticonInPlace(&editor, QString(), true);
            const QString twice = GlyphmorphTest::positionNotation(editor.document());
            const QString modelled = GlyphmorphTest::positionNotation(expected.document());
            if (once != modelled || twice != once) {
                QFAIL(qPrintable(QStringLiteral("seed %1, limit %2:\nmodel %3\nonce  %4\ntwice %5")
                                     .arg(seed)
                                     .arg(editor.maxLength())
                                     .arg(modelled, once, twice)));
            }
        }
    }

private:
    // Installs and chooses a theme with the codes ":x:" and ":y:"; gives its codes and images.
    void useTheme(QHash<QString, QString> *mapping = nullptr)
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
        if (mapping)
            *mapping = manager->themeForAccountPath(QString()).codeSequenceToFilepathMapping();
    }
};

GLYPHMORPH_TEST_MAIN(GlyphmorpherTest)
#include "glyphmorphertest.moc"
