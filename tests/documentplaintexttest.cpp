// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "documentbuilder.h"
#include "editormodel.h"
#include "glyphmorpher.h"
#include "mtextedit.h"
#include "richdocument.h"
#include "testenvironment.h"

using GlyphmorphTest::writeDocument;

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
    }

    // Random rich documents and selections, read by the library and position by position.
    void readersAgreeWithThePositionByPositionReading()
    {
        using GlyphmorphTest::readPositions;
        using GlyphmorphTest::Separation;
        const QStringList codes = { QStringLiteral(":)"), QStringLiteral("<3") };
        const QStringList paths = { QStringLiteral("/images/smile.png") };
        Glyphmorpher transformer;
        for (quint32 seed = 0; seed < 5000; ++seed) {
            GlyphmorphTest::RandomChoices choices(seed);
            MTextEdit editor;
            QTextDocument *document = editor.document();
            QTextCursor cursor(document);
            for (int edits = 1 + choices.below(12); edits > 0; --edits)
                GlyphmorphTest::editRichDocument(cursor, choices, codes, paths);
            const int length = document->characterCount();
            cursor.setPosition(choices.below(length));
            cursor.setPosition(choices.below(length), QTextCursor::KeepAnchor);
            const int start = cursor.selectionStart();
            const int end = cursor.selectionEnd();
            bool separate = false;
            QString outside
                = readPositions(document, 0, start, Separation::AfterWordEnd, false, &separate);
            outside
                += readPositions(document, end, length, Separation::AfterWordEnd, false, &separate);

            const QString read[] = { transformer.transformTextEditContentToPlainText(&editor),
                transformer.transformTextCursorContentToPlainText(&cursor),
                transformer.transformInverseTextCursorContentToPlainText(&cursor) };
            const QString expected[]
                = { readPositions(document, 0, length, Separation::AfterSpaceOrImage, false),
                      cursor.hasSelection()
                          ? readPositions(document, start, end, Separation::AfterWordEnd, true)
                          : QString(),
                      cursor.hasSelection() ? outside : QString() };
            for (int reader = 0; reader < 3; ++reader) {
                if (read[reader] != expected[reader]) {
                    QFAIL(qPrintable(QStringLiteral("seed %1, reader %2, selection %3-%4 of\n%5\n"
                                                    "read\n%6\nexpected\n%7")
                                         .arg(seed)
                                         .arg(reader)
                                         .arg(start)
                                         .arg(end)
                                         .arg(GlyphmorphTest::positionNotation(document),
                                             read[reader], expected[reader])));
                }
            }
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
