// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The facade's editor functions on a stock QTextEdit: the shared walk against the step-by-step
// model on random rich documents, and typing and picking as an application does them.
#include "editormodel.h"
#include "richdocument.h"
#include "testenvironment.h"

#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mtextedit.h>

#include <QTextEdit>

using namespace GlyphmorphTest;

class QTextEditTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    Glyphmorpher *m_morpher = nullptr;
    QHash<QString, QString> m_codes;

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_root.path()));
        m_morpher = new Glyphmorpher(this);
        // The built-in theme, current in a new home.
        m_codes = SingletonBase<EmoticonThemeManager>::m_pInstance->themeForAccountPath(QString())
                      .codeSequenceToFilepathMapping();
        QVERIFY(m_codes.contains(QStringLiteral(":-)")));
    }

    // The library on a QTextEdit, the model on an MTextEdit without a limit: the same document,
    // the same cursor, the same plain text, and one undo step back.
    void agreesWithTheModel()
    {
        QStringList codes = m_codes.keys();
        codes.sort();
        codes << QStringLiteral(":-)x") << QStringLiteral("&amp;");
        const QStringList paths = { m_codes.value(QStringLiteral(":)")), m_root.path() + "/x.png" };
        EditorWalkModel model(m_codes);
        for (int seed = 0; seed < 400; ++seed) {
            QTextEdit edit;
            MTextEdit modelled;
            const bool wholeDocument = buildRandomEditor(edit, seed, codes, paths);
            buildRandomEditor(modelled, seed, codes, paths);
            QTextDocument *document = edit.document();
            const QString before = positionNotation(document);
            QCOMPARE(positionNotation(modelled.document()), before);
            QCOMPARE(m_morpher->transformTextEditContentToPlainText(&edit),
                readPositions(
                    document, 0, document->characterCount(), Separation::AfterSpaceOrImage, false));

            QSignalSpy changed(&edit, &QTextEdit::textChanged);
            m_morpher->transformTextEditContentToEmoticonInPlace(&edit, QString(), wholeDocument);
            if (wholeDocument) {
                const QTextDocument *source = modelled.document();
                modelled.setText(readPositions(
                    source, 0, source->characterCount(), Separation::AfterWalkSeparator, false));
            }
            model.walk(&modelled, wholeDocument);
            const QString after = positionNotation(document);
            if (after != positionNotation(modelled.document()))
                qWarning("seed %d: %s", seed, qPrintable(before));
            QCOMPARE(after, positionNotation(modelled.document()));
            QCOMPARE(edit.textCursor().position(), modelled.cursorPosition());
            QCOMPARE(changed.count(), 0);
            if (!wholeDocument && after != before) {
                document->undo();
                QCOMPARE(positionNotation(document), before);
            }
        }
    }

    // Keys typed into the widget, the change recorded from the document as an application does.
    void typingAndPicking()
    {
        QTextEdit edit;
        QObject::connect(
            edit.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
                edit.setProperty("positionOfChange", position);
                edit.setProperty("charactersPasted", added);
            });
        QObject::connect(&edit, &QTextEdit::textChanged,
            [&] { m_morpher->transformTextEditContentToEmoticonInPlace(&edit, QString(), false); });
        QTest::keyClicks(&edit, QStringLiteral("hi :-) x:)"));
        const QString smile = m_codes.value(QStringLiteral(":-)"));
        QCOMPARE(
            positionNotation(edit.document()), QStringLiteral("hi {:-)@%1} x:)\u2029").arg(smile));
        QCOMPARE(edit.textCursor().position(), 8);

        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(2);
        edit.setTextCursor(cursor);
        m_morpher->addEmoticonToTextEdit(&edit, QStringLiteral("<3"), m_codes.value("<3"));
        QCOMPARE(edit.textCursor().position(), 3);
        QCOMPARE(
            m_morpher->transformTextEditContentToPlainText(&edit), QStringLiteral("hi <3 :-) x:)"));
    }
};

GLYPHMORPH_TEST_MAIN(QTextEditTest)
#include "qtextedittest.moc"
