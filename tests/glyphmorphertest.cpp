// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "editormodel.h"
#include "htmltoplainmodel.h"
#include "testenvironment.h"
#include "themedirectory.h"

#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>
#include <mtextedit.h>

#include <QRandomGenerator>
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

    // Near misses written down, then random texts from the pieces the expressions care about,
    // against the expressions.
    void htmlToPlainTextAgreesWithTheExpressions()
    {
        QStringList texts = { "a " + tagFor(":)") + tagFor(":)") + "<br>" + tagFor("&lt;3"),
            "<img src='x' alt=':)' title='t' width='20' height='20'>", "<img src=a " + tagFor(":P"),
            "<img src='x' alt=':)' height='20' width='20'>", "<br><BR><br/>" };
        const QStringList pieces = { "<img src=", "alt='", "'", ">", "' width='", "' height='",
            "20", "x", ":)", "<br>", " " };
        QRandomGenerator random(7);
        for (int i = 0; i < 20000; ++i) {
            texts << QString();
            for (int n = random.bounded(1, 24); n > 0; --n)
                texts.last() += pieces.at(random.bounded(pieces.size()));
        }
        Glyphmorpher morpher;
        for (const QString &html : texts)
            QCOMPARE(morpher.transformHTMLToPlainText(html), htmlToPlainWithExpressions(html));
    }

    // Peer text on which the expressions backtrack for minutes is read in one pass: four times the
    // text takes about four times as long.
    void htmlToPlainTextOnHostileInput()
    {
        Glyphmorpher morpher;
        const QStringList pieces[]
            = { { "<img src= alt='x", "" }, { "<img src=", "alt='x'>" }, { "alt='x", "" } };
        for (const QStringList &piece : pieces) {
            const double ratio = GlyphmorphTest::growth(
                [&](int n) -> QString { return "<img src=" + piece[0].repeated(n) + piece[1]; },
                [&](const QString &html) {
                    QCOMPARE(morpher.transformHTMLToPlainText(html), html);
                },
                100000);
            QVERIFY2(ratio < 10, qPrintable(piece[0] + ": " + QString::number(ratio)));
        }
    }

    void plainTextToHtml()
    {
        Glyphmorpher morpher;
        // No theme at all: the text comes back as it is, line ends included.
        QCOMPARE(morpher.transformPlainTextToHTML(
                     QStringLiteral("a :x:\r\nb"), QString(), 0, QStringLiteral("<br>")),
            QStringLiteral("a :x:\r\nb"));

        QHash<QString, QString> mapping;
        useTheme(&mapping);
        QCOMPARE(morpher.transformPlainTextToHTML("a :x:\nb", QString(), 42, "<br>"),
            "a <img src='" + mapping.value(":x:") + "'  width='20' height='20'><br>b");
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
