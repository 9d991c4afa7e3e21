// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The editor: codes typed or pasted become images, checked against the step-by-step walk, and
// editor content read back as plain text, checked against the position-by-position reading; in
// an MTextEdit and in a stock QTextEdit.
#include "editormodel.h"
#include "emosequencesearchtree.h"
#include "emoticonthememanager.h"
#include "glyphmorpher.h"
#include "mtextedit.h"
#include "richdocument.h"
#include "testenvironment.h"
#include "themedirectory.h"

#include <QClipboard>
#include <QDateTime>
#include <QPixmapCache>
#include <QScopeGuard>
#include <QTextEdit>

using namespace GlyphmorphTest;

namespace {

// Types into an editor the way a messaging application does: every change inserted through a
// cursor, the change recorded from the document's own figures, then the walk run.
struct Typist
{
    explicit Typist(const QHash<QString, QString> &codes)
        : tree(codes)
    {
        QObject::connect(editor.document(), &QTextDocument::contentsChange,
            [this](int position, int, int added) {
                changePosition = position;
                changeAdded = added;
            });
    }

    void paste(const QString &text)
    {
        QTextCursor cursor = editor.textCursor();
        cursor.insertText(text);
        editor.setTextCursor(cursor);
        editor.setProperty("positionOfChange", changePosition);
        editor.setProperty("charactersPasted", changeAdded);
        tree.performCharacterCode2EmoticonReplacement(&editor, false);
    }

    MTextEdit editor;
    emoSequenceSearchTree tree;
    int changePosition = 0;
    int changeAdded = 0;
};

QImage documentImage(const MTextEdit &editor, const QString &path)
{
    return editor.document()
        ->resource(QTextDocument::ImageResource, path)
        .value<QPixmap>()
        .toImage();
}

// Written with a time of its own, and as a bitmap, whose file size follows from its side alone.
void writeBitmap(const QString &path, Qt::GlobalColor color, int side, const QDateTime &time)
{
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(color);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && picture.save(&file, "BMP") && file.flush());
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

class EditorReplacementTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_images;
    QHash<QString, QString> m_codes;

    QString image(const char *name) const { return m_images.path() + QLatin1String(name); }

    // The built-in theme's codes, current in a new home, while a morpher keeps the manager.
    static QHash<QString, QString> builtInCodes()
    {
        return EmoticonThemeManager::m_pInstance->themeForAccountPath(QString())
            .codeSequenceToFilepathMapping();
    }

    // Image paths are shown relative to the image directory; the final paragraph end is left out.
    QString contents(const MTextEdit &editor) const
    {
        return positionNotation(editor.document()).chopped(1).replace(m_images.path(), QString());
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Glyphmorpher's theme manager looks for installed themes only here.
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_images.path()));
        for (const char *name : { "/a.png", "/b.png", "/c.png", "/h.png" })
            QVERIFY(writeImage(image(name)));
        m_codes = { { ":)", image("/a.png") }, { ":-", image("/b.png") },
            { ":-)", image("/c.png") }, { "<3", image("/h.png") }, { "&lt;3", image("/h.png") } };
    }

    void init() { QPixmapCache::clear(); }

    void eachImageIsRegisteredOnce()
    {
        Typist typist(m_codes);
        typist.paste(":) :) <3");
        typist.paste(" :)");
        const QVariantHash registered = typist.editor.property("imageResourceHash").toHash();
        QCOMPARE(registered.size(), 2);
        QVERIFY(registered.contains(image("/a.png") + "20"));
        QCOMPARE(documentImage(typist.editor, image("/a.png")).size(), QSize(20, 20));
    }

    // The built-in theme's images are rendered again under the same paths, without suffix, when
    // the platform theme changes; an image typed or picked then must show the new file. A file of
    // the same time and size is not told apart: that would cost a read on every keystroke.
    void changedImageFileIsReadAgain()
    {
        const QString path = image("/rendered");
        const QDateTime rendered = QDateTime::fromSecsSinceEpoch(1600000000);
        writeBitmap(path + ".bmp", Qt::red, 20, rendered);
        Typist typist({ { ":S", path } });
        typist.paste(":S");
        QCOMPARE(documentImage(typist.editor, path).pixelColor(0, 0), QColor(Qt::red));
        writeBitmap(path + ".bmp", Qt::blue, 20, rendered.addSecs(10));
        Glyphmorpher().addEmoticonToTextEdit(&typist.editor, ":S", path);
        QCOMPARE(documentImage(typist.editor, path).pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(contents(typist.editor), QStringLiteral("{:S@/rendered}{:S@/rendered}"));
    }

    // An image file that cannot be read still replaces its code; once there, the next shows it.
    void unreadableImageStillReplacesItsCode()
    {
        const QString missing = image("/missing.png");
        Typist typist({ { ":(", missing } });
        typist.paste("oh :(");
        QCOMPARE(contents(typist.editor), QStringLiteral("oh {:(@/missing.png}"));
        QCOMPARE(documentImage(typist.editor, missing).pixelColor(0, 0), QColor(Qt::transparent));
        QVERIFY(writeImage(missing));
        typist.paste(" :(");
        QCOMPARE(documentImage(typist.editor, missing).pixelColor(0, 0), QColor(255, 200, 0));
        QVERIFY(QFile::remove(missing));
    }

    // Random rich documents. Read by the library and position by position, with a random
    // selection; walked by the library, undone in one step, and walked by the step-by-step model
    // from the same cursor: the same document, the same editor cursor.
    void agreesWithTheModels()
    {
        const QStringList codes = m_codes.keys() + QStringList { ":-)x", "&amp;" };
        const QStringList paths = { image("/a.png"), image("/c.png") };
        emoSequenceSearchTree tree(m_codes);
        EditorWalkModel model(m_codes);
        Glyphmorpher transformer;
        for (int seed = 0; seed < 20000; ++seed) {
            MTextEdit editor;
            const bool wholeDocument = buildRandomEditor(
                editor, seed, codes, paths, [&](int limit) { editor.setMaxLength(limit); });
            QTextDocument *document = editor.document();
            const QString before = positionNotation(document);
            const int cursorBefore = editor.cursorPosition();

            const int length = document->characterCount();
            QRandomGenerator random(seed);
            QTextCursor cursor(document);
            cursor.setPosition(random.bounded(length));
            cursor.setPosition(random.bounded(length), QTextCursor::KeepAnchor);
            const int start = cursor.selectionStart();
            const int end = cursor.selectionEnd();
            const bool selection = cursor.hasSelection();
            bool separate = false;
            QString outside
                = readPositions(document, 0, start, Separation::AfterWordEnd, false, &separate);
            outside
                += readPositions(document, end, length, Separation::AfterWordEnd, false, &separate);
            // QCOMPARE names neither the seed nor the document: told after a failed check.
            const auto tell = qScopeGuard([&] {
                if (QTest::currentTestFailed())
                    qWarning("seed %d, %s, change %d+%d, limit %d, selection %d-%d of\n%s", seed,
                        wholeDocument ? "whole" : "change",
                        editor.property("positionOfChange").toInt(),
                        editor.property("charactersPasted").toInt(), editor.maxLength(), start, end,
                        qPrintable(before));
            });
            QCOMPARE(transformer.transformTextEditContentToPlainText(&editor),
                readPositions(document, 0, length, Separation::AfterSpaceOrImage, false));
            QCOMPARE(transformer.transformTextCursorContentToPlainText(&cursor),
                selection ? readPositions(document, start, end, Separation::AfterWordEnd, true)
                          : QString());
            QCOMPARE(transformer.transformInverseTextCursorContentToPlainText(&cursor),
                selection ? outside : QString());

            const int undoSteps = document->availableUndoSteps();
            tree.performCharacterCode2EmoticonReplacement(&editor, wholeDocument);
            const QString after = positionNotation(document);
            const int cursorAfter = editor.cursorPosition();
            // Nothing replaced: no undo step either.
            if (after == before) {
                QCOMPARE(document->availableUndoSteps(), undoSteps);
            } else {
                document->undo();
                QCOMPARE(positionNotation(document), before);
            }
            cursor.setPosition(cursorBefore);
            editor.setTextCursor(cursor);
            model.walk(&editor, wholeDocument);
            QCOMPARE(positionNotation(document), after);
            QCOMPARE(editor.cursorPosition(), cursorAfter);
        }
    }

    // The facade with the built-in theme on random rich documents in a QTextEdit, against the
    // step-by-step model: the walk with the same document, the same cursor, no signal, and one
    // undo step back; the whole-document pass changes nothing when done again.
    void facadeAgreesWithTheModel()
    {
        Glyphmorpher morpher;
        const QHash<QString, QString> builtIn = builtInCodes();
        QStringList codes = builtIn.keys();
        codes.sort();
        codes << QStringLiteral(":-)x") << QStringLiteral("&amp;");
        const QStringList paths = { builtIn.value(QStringLiteral(":)")), image("/x.png") };
        EditorWalkModel model(builtIn);
        for (int seed = 0; seed < 1000; ++seed) {
            QTextEdit edit;
            MTextEdit modelled;
            const bool wholeDocument = buildRandomEditor(edit, seed, codes, paths);
            buildRandomEditor(modelled, seed, codes, paths);
            QTextDocument *document = edit.document();
            const QString before = positionNotation(document);
            const auto tell = qScopeGuard([&] {
                if (QTest::currentTestFailed())
                    qWarning("seed %d: %s", seed, qPrintable(before));
            });
            QCOMPARE(positionNotation(modelled.document()), before);

            QSignalSpy changed(&edit, &QTextEdit::textChanged);
            morpher.transformTextEditContentToEmoticonInPlace(&edit, QString(), wholeDocument);
            if (wholeDocument) {
                modelled.setText(readPositions(
                    modelled.document(), 0, INT_MAX, Separation::AfterWalkSeparator, false));
            }
            model.walk(&modelled, wholeDocument);
            const QString after = positionNotation(document);
            QCOMPARE(after, positionNotation(modelled.document()));
            QCOMPARE(edit.textCursor().position(), modelled.cursorPosition());
            QCOMPARE(changed.count(), 0);
            if (wholeDocument) {
                // Done again over converted content, the pass changes nothing.
                morpher.transformTextEditContentToEmoticonInPlace(&edit, QString(), true);
                QCOMPARE(positionNotation(document), after);
            } else if (after != before) {
                document->undo();
                QCOMPARE(positionNotation(document), before);
            }
        }
    }

    // Pasted into an empty QTextEdit, then keys typed and an emoticon picked, each change
    // recorded from the document as an application does.
    void qTextEditPastingTypingAndPicking()
    {
        Glyphmorpher morpher;
        const QHash<QString, QString> builtIn = builtInCodes();
        QTextEdit edit;
        QObject::connect(
            edit.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
                edit.setProperty("positionOfChange", position);
                edit.setProperty("charactersPasted", added);
            });
        // Qt reports a paste that fills an empty editor one longer than the text, the document's
        // final paragraph separator included: the codes up to its end become images all the same.
        const QString pasted = QStringLiteral(":) one :) two :)");
        QApplication::clipboard()->setText(pasted);
        edit.paste();
        QCOMPARE(edit.property("charactersPasted").toInt(), pasted.size() + 1);
        morpher.transformTextEditContentToEmoticonInPlace(&edit, QString(), false);
        QCOMPARE(positionNotation(edit.document()).count(QLatin1Char('{')), 3);

        edit.clear();
        QObject::connect(&edit, &QTextEdit::textChanged,
            [&] { morpher.transformTextEditContentToEmoticonInPlace(&edit, QString(), false); });
        QTest::keyClicks(&edit, QStringLiteral("hi :-) x:)"));
        const QString smile = builtIn.value(QStringLiteral(":-)"));
        QCOMPARE(
            positionNotation(edit.document()), QStringLiteral("hi {:-)@%1} x:)\u2029").arg(smile));
        QCOMPARE(edit.textCursor().position(), 8);

        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(2);
        edit.setTextCursor(cursor);
        morpher.addEmoticonToTextEdit(&edit, QStringLiteral("<3"), builtIn.value("<3"));
        QCOMPARE(edit.textCursor().position(), 3);
        QCOMPARE(
            morpher.transformTextEditContentToPlainText(&edit), QStringLiteral("hi <3 :-) x:)"));
    }
};

GLYPHMORPH_TEST_MAIN(EditorReplacementTest)
#include "editorreplacementtest.moc"
