// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "documentbuilder.h"
#include "glyphmorpher.h"
#include "mtextedit.h"
#include "testenvironment.h"

#include <QRandomGenerator>

using GlyphmorphTest::writeDocument;

namespace {

// The whole-content reading written down step by step with two cursors, as the library's faster
// fragment walk must reproduce it.
QString readStepByStep(QTextDocument *document)
{
    QTextCursor scan(document);
    QTextCursor copy(document);
    QString result;
    int block = scan.blockNumber();
    bool separate = false;
    for (int p = 0; !scan.atEnd(); ++p) {
        scan.setPosition(p);
        scan.setPosition(p + 1, QTextCursor::KeepAnchor);
        const QChar c = scan.selectedText().at(0);
        if (c == QChar::ObjectReplacementCharacter) {
            copy.setPosition(p, QTextCursor::KeepAnchor);
            result += copy.selectedText();
            copy.setPosition(p + 1);
            if (separate)
                result += QLatin1Char(' ');
            result += scan.charFormat().property(QTextFormat::UserProperty).toString();
            separate = false;
            continue;
        }
        if (scan.blockNumber() != block) {
            copy.setPosition(p, QTextCursor::KeepAnchor);
            result += copy.selectedText();
            copy.setPosition(p + 1);
            result += QLatin1Char('\n');
        }
        separate = c != QLatin1Char(' ');
        block = scan.blockNumber();
    }
    copy.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    return result + copy.selectedText();
}

} // namespace

class DocumentPlainTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeContent_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("plain");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("word then image") << QStringLiteral("word{:)}") << QStringLiteral("word :)");
        QTest::newRow("word, space, image")
            << QStringLiteral("word {:)}") << QStringLiteral("word :)");
        QTest::newRow("image at the start") << QStringLiteral("{:)} hi") << QStringLiteral(":) hi");
        QTest::newRow("images in a row") << QStringLiteral("{:)}{<3}") << QStringLiteral(":)<3");
        QTest::newRow("image then word") << QStringLiteral("{:)}x") << QStringLiteral(":)x");
        QTest::newRow("paragraphs") << QStringLiteral("one|two") << QStringLiteral("one\ntwo");
        QTest::newRow("image after a boundary")
            << QStringLiteral("one|{:)}") << QStringLiteral("one\n :)");
        QTest::newRow("empty paragraphs") << QStringLiteral("a||b") << QStringLiteral("a\n\nb");
        QTest::newRow("line separator kept")
            << QStringLiteral("a\u2028b{:)}") << QStringLiteral("a\u2028b :)");
        QTest::newRow("image without code") << QStringLiteral("a{}b") << QStringLiteral("a b");
    }

    void wholeContent()
    {
        QFETCH(QString, document);
        QFETCH(QString, plain);
        MTextEdit editor;
        writeDocument(editor.document(), document);
        Glyphmorpher transformer;
        QCOMPARE(transformer.transformTextEditContentToPlainText(&editor), plain);
        QCOMPARE(readStepByStep(editor.document()), plain);
    }

    void wholeContentMatchesTheStepByStepReading()
    {
        const QStringList pieces = { QStringLiteral("a"), QStringLiteral(" "), QStringLiteral("|"),
            QStringLiteral("{:)}"), QStringLiteral("{<3}"), QStringLiteral("\u2028"),
            QStringLiteral("xy") };
        QRandomGenerator random(7);
        Glyphmorpher transformer;
        for (int round = 0; round < 300; ++round) {
            QString notation;
            for (int i = int(random.bounded(12)); i > 0; --i)
                notation += pieces.at(int(random.bounded(pieces.size())));
            MTextEdit editor;
            writeDocument(editor.document(), notation);
            QCOMPARE(transformer.transformTextEditContentToPlainText(&editor),
                readStepByStep(editor.document()));
        }
    }

    void nullEditorAndNullCursor()
    {
        Glyphmorpher transformer;
        QCOMPARE(transformer.transformTextEditContentToPlainText(nullptr), QString());
        QCOMPARE(transformer.transformTextCursorContentToPlainText(nullptr), QString());
        QCOMPARE(transformer.transformInverseTextCursorContentToPlainText(nullptr), QString());
    }

    void cursorReaders_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("outside");
        QTest::newRow("only an image")
            << QStringLiteral("{:)}") << 0 << 1 << QStringLiteral(" :)") << QString();
        QTest::newRow("second letter")
            << QStringLiteral("ab") << 1 << 2 << QStringLiteral("b") << QStringLiteral("a");
        QTest::newRow("backwards selection")
            << QStringLiteral("ab") << 2 << 1 << QStringLiteral("b") << QStringLiteral("a");
        QTest::newRow("across paragraphs") << QStringLiteral("abc|def") << 1 << 6
                                           << QStringLiteral("bc\nde") << QStringLiteral("af");
        QTest::newRow("image after a boundary") << QStringLiteral("one|{:)}x") << 0 << 5
                                                << QStringLiteral("one\n:)") << QStringLiteral("x");
        QTest::newRow("image after a word outside")
            << QStringLiteral("ab{:)}cd") << 3 << 5 << QStringLiteral("cd")
            << QStringLiteral("ab :)");
        QTest::newRow("image after a space")
            << QStringLiteral("a {:)}") << 0 << 3 << QStringLiteral("a :)") << QString();
        QTest::newRow("boundary outside") << QStringLiteral("ab|{:)}") << 0 << 1
                                          << QStringLiteral("a") << QStringLiteral("b\n:)");
    }

    void cursorReaders()
    {
        QFETCH(QString, document);
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, selected);
        QFETCH(QString, outside);
        QTextDocument textDocument;
        writeDocument(&textDocument, document);
        QTextCursor cursor(&textDocument);
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        Glyphmorpher transformer;
        QCOMPARE(transformer.transformTextCursorContentToPlainText(&cursor), selected);
        QCOMPARE(transformer.transformInverseTextCursorContentToPlainText(&cursor), outside);
        QCOMPARE(cursor.anchor(), anchor);
        QCOMPARE(cursor.position(), position);
    }

    void noSelectionLeavesTheCursorAlone()
    {
        QTextDocument document;
        writeDocument(&document, QStringLiteral("ab{:)}"));
        QTextCursor cursor(&document);
        cursor.setPosition(1);
        Glyphmorpher transformer;
        QCOMPARE(transformer.transformTextCursorContentToPlainText(&cursor), QString());
        QCOMPARE(transformer.transformInverseTextCursorContentToPlainText(&cursor), QString());
        QCOMPARE(cursor.position(), 1);
        QVERIFY(!cursor.hasSelection());
    }

    void instanceIsClearedOnDelete()
    {
        Glyphmorpher::m_pInstance = new Glyphmorpher;
        QVERIFY(Glyphmorpher::m_pInstance->qt_metacast("SingletonBase<Glyphmorpher>"));
        delete Glyphmorpher::m_pInstance;
        QVERIFY(!Glyphmorpher::m_pInstance);
    }
};

GLYPHMORPH_TEST_MAIN(DocumentPlainTextTest)
#include "documentplaintexttest.moc"
