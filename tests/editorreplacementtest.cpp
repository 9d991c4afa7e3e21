// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "documentbuilder.h"
#include "editormodel.h"
#include "emosequencesearchtree.h"
#include "glyphmorpher.h"
#include "mtextedit.h"
#include "richdocument.h"
#include "testenvironment.h"

#include <QDateTime>
#include <QImage>
#include <QPixmap>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

using GlyphmorphTest::positionNotation;
using GlyphmorphTest::readDocument;

namespace {

// Types into an editor the way a messaging application does: every change inserted through a
// cursor, the change recorded from the document's own figures, then the walk run.
class Typist
{
public:
    Typist(const QHash<QString, QString> &codes)
        : tree(codes)
    {
        QObject::connect(editor.document(), &QTextDocument::contentsChange,
            [this](int position, int, int added) {
                changePosition = position;
                changeAdded = added;
            });
    }

    // "|" starts a new paragraph.
    void paste(const QString &text)
    {
        QTextCursor cursor = editor.textCursor();
        const QStringList lines = text.split(QLatin1Char('|'));
        cursor.beginEditBlock();
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            cursor.insertText(lines.at(i));
        }
        cursor.endEditBlock();
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
        ->resource(QTextDocument::ImageResource, QUrl(path))
        .value<QPixmap>()
        .toImage();
}

// Written with a time of its own, and as a bitmap, whose file size follows from its side alone.
void writeBitmap(const QString &path, Qt::GlobalColor color, int side, const QDateTime &time)
{
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(color);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(picture.save(&file, "BMP"));
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

// A random rich document, a length limit now and then, and a change as the document reported it
// or figures gone stale; true when the whole document is to be walked.
bool buildRandomEditor(
    MTextEdit &editor, int seed, const QStringList &codes, const QStringList &paths)
{
    GlyphmorphTest::RandomChoices choices { quint32(seed) };
    int changePosition = 0;
    int changeAdded = 0;
    QObject::connect(
        editor.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
            changePosition = position;
            changeAdded = added;
        });
    QTextCursor cursor(editor.document());
    for (int edits = 1 + choices.below(12); edits > 0; --edits)
        GlyphmorphTest::editRichDocument(cursor, choices, codes, paths);
    editor.setTextCursor(cursor);
    if (choices.below(3) == 0)
        editor.setMaxLength(choices.below(40));
    QObject::disconnect(editor.document(), &QTextDocument::contentsChange, nullptr, nullptr);
    if (choices.below(3) == 0) {
        const int reach = editor.document()->characterCount() + 4;
        changePosition = choices.below(reach + 4) - 4;
        changeAdded = choices.below(reach + 4) - 4;
    }
    editor.setProperty("positionOfChange", changePosition);
    editor.setProperty("charactersPasted", changeAdded);
    return choices.below(4) == 0;
}

} // namespace

class EditorReplacementTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_images;
    QHash<QString, QString> m_codes;

    QString image(const char *name) const { return m_images.path() + QLatin1String(name); }

    // Image paths are shown relative to the image directory.
    QString contents(const MTextEdit &editor) const
    {
        return readDocument(editor.document()).replace(m_images.path(), QString());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_images.isValid());
        // Glyphmorpher's theme manager looks for installed themes only here.
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_images.path()));
        const struct
        {
            const char *name;
            Qt::GlobalColor color;
        } images[] = { { "/a.png", Qt::red }, { "/b.png", Qt::green }, { "/c.png", Qt::blue },
            { "/h.png", Qt::magenta } };
        for (const auto &entry : images) {
            QImage picture(20, 20, QImage::Format_ARGB32);
            picture.fill(entry.color);
            QVERIFY(picture.save(image(entry.name)));
        }
        m_codes = { { QStringLiteral(":)"), image("/a.png") },
            { QStringLiteral(":-"), image("/b.png") }, { QStringLiteral(":-)"), image("/c.png") },
            { QStringLiteral("<3"), image("/h.png") },
            { QStringLiteral("&lt;3"), image("/h.png") } };
    }

    void init() { QPixmapCache::clear(); }

    void typing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        auto row
            = [](const char *name, const char *typed, const char *pasted, const char *expected) {
                  QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(pasted)
                                      << QString::fromUtf8(expected);
              };
        row("smile typed", ":)", "", "{:)@/a.png}");
        row("grows into the longer code", ":-)", "", "{:-)@/c.png}");
        row("short code stays before a letter", ":-x", "", "{:-@/b.png}x");
        row("code in a word stays text", "x:)", "", "x:)");
        row("after a space", "hi :)", "", "hi {:)@/a.png}");
        row("codes in a row", ":):)", "", "{:)@/a.png}{:)@/a.png}");
        row("short code then another", ":-:)", "", "{:-@/b.png}{:)@/a.png}");
        row("heart plain", "<3", "", "{<3@/h.png}");
        row("heart escaped", "&lt;3", "", "{<3@/h.png}");
        row("at a paragraph start", "a|:)", "", "a|{:)@/a.png}");
        row("separators only", "  |  ", "", "  |  ");
        row("pasted message", "", "I <3 you :-) see :) x:)|:-",
            "I {<3@/h.png} you {:-)@/c.png} see {:)@/a.png} x:)|{:-@/b.png}");
        row("pasted after typed text", "hello ", ":) :-x", "hello {:)@/a.png} {:-@/b.png}x");
    }

    void typing()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        Typist typist(m_codes);
        for (const QChar c : typed)
            typist.paste(QString(c));
        if (!pasted.isEmpty())
            typist.paste(pasted);
        QCOMPARE(contents(typist.editor), expected);
        // The editor's cursor stays at the end of what was typed.
        QCOMPARE(typist.editor.cursorPosition(), typist.editor.document()->characterCount() - 1);
    }

    void oneUndoStepPerWalk()
    {
        Typist typist(m_codes);
        typist.paste(QStringLiteral("a :) b :-)"));
        QTextDocument *document = typist.editor.document();
        QCOMPARE(contents(typist.editor), QStringLiteral("a {:)@/a.png} b {:-)@/c.png}"));
        document->undo();
        QCOMPARE(document->toPlainText(), QStringLiteral("a :) b :-)"));
        document->redo();
        QCOMPARE(contents(typist.editor), QStringLiteral("a {:)@/a.png} b {:-)@/c.png}"));
    }

    void growingIsOneUndoStepToo()
    {
        Typist typist(m_codes);
        typist.paste(QStringLiteral(":-"));
        typist.paste(QStringLiteral(")"));
        QCOMPARE(contents(typist.editor), QStringLiteral("{:-)@/c.png}"));
        typist.editor.document()->undo();
        QCOMPARE(contents(typist.editor), QStringLiteral("{:-@/b.png})"));
    }

    void eachImageIsRegisteredOnce()
    {
        Typist typist(m_codes);
        typist.paste(QStringLiteral(":) :) <3"));
        typist.paste(QStringLiteral(" :)"));
        const QVariantHash registered = typist.editor.property("imageResourceHash").toHash();
        QCOMPARE(registered.size(), 2);
        QVERIFY(registered.contains(image("/a.png") + QLatin1String("20")));
        QCOMPARE(documentImage(typist.editor, image("/a.png")).size(), QSize(20, 20));
    }

    // The built-in theme's images are rendered again under the same paths when the platform
    // theme changes; their paths carry no suffix.
    void changedImageFileIsReadAgain_data()
    {
        QTest::addColumn<bool>("picked");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("secondsLater");
        QTest::addColumn<QColor>("expected");
        for (const bool picked : { false, true }) {
            const QByteArray by = picked ? "picked, " : "typed, ";
            QTest::newRow(by + "later") << picked << 20 << 10 << QColor(Qt::blue);
            QTest::newRow(by + "other size") << picked << 21 << 0 << QColor(Qt::blue);
            // Telling such a rewrite apart would cost a read of the file on every keystroke.
            QTest::newRow(by + "same time and size") << picked << 20 << 0 << QColor(Qt::red);
        }
    }

    void changedImageFileIsReadAgain()
    {
        QFETCH(bool, picked);
        QFETCH(int, side);
        QFETCH(int, secondsLater);
        QFETCH(QColor, expected);
        const QString path = image("/rendered");
        const QDateTime rendered = QDateTime::fromSecsSinceEpoch(1600000000);
        writeBitmap(path + QLatin1String(".bmp"), Qt::red, 20, rendered);
        Glyphmorpher morpher;
        const auto insert = [&](Typist &typist) {
            if (picked)
                morpher.addEmoticonToTextEdit(&typist.editor, QStringLiteral(":S"), path);
            else
                typist.paste(QStringLiteral(":S"));
        };
        Typist typist({ { QStringLiteral(":S"), path } });
        insert(typist);
        QCOMPARE(documentImage(typist.editor, path).pixelColor(0, 0), QColor(Qt::red));

        writeBitmap(path + QLatin1String(".bmp"), Qt::blue, side, rendered.addSecs(secondsLater));
        insert(typist);
        QCOMPARE(documentImage(typist.editor, path).pixelColor(0, 0), expected);
        QCOMPARE(contents(typist.editor), QStringLiteral("{:S@/rendered}{:S@/rendered}"));
        Typist other({ { QStringLiteral(":S"), path } });
        insert(other);
        QCOMPARE(documentImage(other.editor, path).pixelColor(0, 0), expected);
    }

    void unreadableImageStillReplacesItsCode()
    {
        const QString missing = m_images.path() + QLatin1String("/missing.png");
        Typist typist({ { QStringLiteral(":("), missing } });
        typist.paste(QStringLiteral("oh :("));
        QCOMPARE(contents(typist.editor), QStringLiteral("oh {:(@/missing.png}"));
        QCOMPARE(documentImage(typist.editor, missing).pixelColor(0, 0), QColor(Qt::transparent));

        // Once the file is there, the next code shows it.
        QImage picture(20, 20, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(missing));
        typist.paste(QStringLiteral(" :("));
        QCOMPARE(documentImage(typist.editor, missing).pixelColor(0, 0), QColor(Qt::red));
        QVERIFY(QFile::remove(missing));
    }

    void region_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("pasted");
        QTest::addColumn<bool>("wholeDocument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole document")
            << QStringLiteral(":) :-)\nx:) <3") << -1 << 0 << 0 << true
            << QStringLiteral("{:)@/a.png} {:-)@/c.png}|x:) {<3@/h.png}");
        QTest::newRow("only the changed word") << QStringLiteral(":) abc :) def") << -1 << 8 << 1
                                               << false << QStringLiteral(":) abc {:)@/a.png} def");
        // Change figures reaching past the end: the length limit brings the end back in.
        QTest::newRow("clipped at the limit")
            << QStringLiteral(":) :) :)") << 8 << 0 << 100 << false
            << QStringLiteral("{:)@/a.png} {:)@/a.png} {:)@/a.png}");
    }

    void region()
    {
        QFETCH(QString, text);
        QFETCH(int, maxLength);
        QFETCH(int, change);
        QFETCH(int, pasted);
        QFETCH(bool, wholeDocument);
        QFETCH(QString, expected);
        MTextEdit editor;
        editor.setMaxLength(maxLength);
        editor.setText(text);
        editor.setProperty("positionOfChange", change);
        editor.setProperty("charactersPasted", pasted);
        emoSequenceSearchTree tree(m_codes);
        tree.performCharacterCode2EmoticonReplacement(&editor, wholeDocument);
        QCOMPARE(contents(editor), expected);
    }

    // A ")" typed after an image: the image grows when its code is one of the theme's.
    void typedAfterAnImage_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the theme's code")
            << QStringLiteral("{:-})ab") << QStringLiteral("{:-)@/c.png}ab");
        // Partly known codes (another theme's image): growing would take the wrong characters.
        QTest::newRow("another theme's code")
            << QStringLiteral("{xyz:-})ab") << QStringLiteral("{xyz:-@/images/smile.png!})ab");
    }

    void typedAfterAnImage()
    {
        QFETCH(QString, document);
        QFETCH(QString, expected);
        MTextEdit editor;
        GlyphmorphTest::writeDocument(editor.document(), document);
        editor.setProperty("positionOfChange", 1);
        editor.setProperty("charactersPasted", 1);
        emoSequenceSearchTree tree(m_codes);
        tree.performCharacterCode2EmoticonReplacement(&editor, false);
        QCOMPARE(contents(editor), expected);
    }

    // Text before a table, in its cells and after it; "|" separates the cells.
    void tables_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("wholeDocument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("codes after a table")
            << QString() << QStringLiteral("x|:)") << QStringLiteral("-Fb :-)ab") << true
            << QStringLiteral("|x|{:)@/a.png}|-Fb {:-)@/c.png}ab");
        QTest::newRow("codes before a table")
            << QStringLiteral("):-) :)") << QStringLiteral("ab|cd|ef") << QString() << true
            << QStringLiteral("):-) {:)@/a.png}|ab|cd|ef|");
        QTest::newRow("a cell ends a code")
            << QStringLiteral(":-") << QStringLiteral(")|:-|)") << QStringLiteral(")") << true
            << QStringLiteral("{:-@/b.png}|)|{:-@/b.png}|)|)");
        QTest::newRow("typed in a cell")
            << QStringLiteral(":)") << QStringLiteral("a|b :)") << QString() << false
            << QStringLiteral(":)|a|b {:)@/a.png}|");
    }

    void tables()
    {
        QFETCH(QString, before);
        QFETCH(QString, cells);
        QFETCH(QString, after);
        QFETCH(bool, wholeDocument);
        QFETCH(QString, expected);
        MTextEdit editor;
        QTextCursor cursor(editor.document());
        cursor.insertText(before);
        const QStringList texts = cells.split(QLatin1Char('|'));
        QTextTable *table = cursor.insertTable(1, int(texts.size()));
        for (int column = 0; column < texts.size(); ++column)
            table->cellAt(0, column).firstCursorPosition().insertText(texts.at(column));
        // The change: the last cell's text.
        const QTextTableCell last = table->cellAt(0, int(texts.size()) - 1);
        editor.setProperty("positionOfChange", last.lastPosition());
        editor.setProperty("charactersPasted", 0);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(after);
        emoSequenceSearchTree tree(m_codes);
        tree.performCharacterCode2EmoticonReplacement(&editor, wholeDocument);
        QCOMPARE(contents(editor), expected);
    }

    // Random rich documents, walked by the library and by the step-by-step model: the same
    // document, the same editor cursor, one undo step that brings the document back.
    void agreesWithTheStepByStepWalk()
    {
        QStringList codes = m_codes.keys();
        codes << QStringLiteral(":-)x") << QStringLiteral("&amp;");
        const QStringList paths = { image("/a.png"), image("/c.png") };
        const int documents = qEnvironmentVariableIsSet("GLYPHMORPH_WALK_DOCUMENTS")
            ? qEnvironmentVariableIntValue("GLYPHMORPH_WALK_DOCUMENTS")
            : 20000;
        emoSequenceSearchTree tree(m_codes);
        GlyphmorphTest::EditorWalkModel model(m_codes);
        for (int seed = 0; seed < documents; ++seed) {
            MTextEdit walked;
            MTextEdit modelled;
            const bool wholeDocument = buildRandomEditor(walked, seed, codes, paths);
            buildRandomEditor(modelled, seed, codes, paths);
            const QString before = positionNotation(walked.document());
            QCOMPARE(positionNotation(modelled.document()), before);

            tree.performCharacterCode2EmoticonReplacement(&walked, wholeDocument);
            model.walk(&modelled, wholeDocument);
            const QString after = positionNotation(walked.document());
            if (after != positionNotation(modelled.document())
                || walked.cursorPosition() != modelled.cursorPosition()) {
                QFAIL(qPrintable(QStringLiteral("seed %1, %2, change %3+%4, limit %5:\n%6\n"
                                                "walked to\n%7\nmodel\n%8")
                                     .arg(seed)
                                     .arg(wholeDocument ? "whole" : "change")
                                     .arg(walked.property("positionOfChange").toInt())
                                     .arg(walked.property("charactersPasted").toInt())
                                     .arg(walked.maxLength())
                                     .arg(before, after, positionNotation(modelled.document()))));
            }
            if (after != before) {
                walked.document()->undo();
                QCOMPARE(positionNotation(walked.document()), before);
            }
        }
    }

    void nothingToReplaceLeavesTheEditorAlone_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wholeDocument");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("empty, whole document") << QString() << true;
        QTest::newRow("separators") << QStringLiteral("   \n ") << false;
        QTest::newRow("no codes") << QStringLiteral("hello there") << true;
    }

    void nothingToReplaceLeavesTheEditorAlone()
    {
        QFETCH(QString, text);
        QFETCH(bool, wholeDocument);
        MTextEdit editor;
        editor.setText(text);
        editor.setCursorPosition(text.size() / 2);
        const int undoSteps = editor.document()->availableUndoSteps();
        QSignalSpy moved(&editor, &MTextEdit::cursorPositionChanged);
        editor.setProperty("positionOfChange", text.size());
        emoSequenceSearchTree tree(m_codes);
        tree.performCharacterCode2EmoticonReplacement(&editor, wholeDocument);
        QCOMPARE(editor.text(), text);
        QCOMPARE(editor.cursorPosition(), text.size() / 2);
        QCOMPARE(moved.count(), 0);
        QCOMPARE(editor.document()->availableUndoSteps(), undoSteps);
    }
};

GLYPHMORPH_TEST_MAIN(EditorReplacementTest)
#include "editorreplacementtest.moc"
