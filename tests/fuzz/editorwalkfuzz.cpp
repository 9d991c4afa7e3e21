// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The editor walk and the readers on documents built from the fuzz bytes: text with codes,
// emoticon images (whose codes may be anything), paragraphs, lists and tables, a change reported
// anywhere near the document, sometimes a length limit.
#include "documentbuilder.h"
#include "emoticonthemefactory.h"
#include "fuzzsupport.h"
#include "glyphmorpher.h"
#include "mtextedit.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace {

QStringList themeCodes;
QStringList imagePaths;

// Characters that make up the built-in theme's codes, and those that end or join words.
const QString alphabet = QStringLiteral(":;=-)(DPpOo<3&lt;gS|*\\/8B xy\u2028\u2029\uFFFC\t\u00e9");

void insertImage(QTextCursor &cursor, GlyphmorphFuzz::Input &input)
{
    QTextImageFormat image;
    image.setName(imagePaths.at(input.below(int(imagePaths.size()))));
    image.setProperty(QTextFormat::UserProperty,
        input.below(4) == 0 ? input.text(6, alphabet)
                            : themeCodes.at(input.below(int(themeCodes.size()))));
    image.setVerticalAlignment(QTextCharFormat::AlignBottom);
    cursor.insertImage(image);
}

void edit(QTextCursor &cursor, GlyphmorphFuzz::Input &input)
{
    const int length = cursor.document()->characterCount();
    switch (input.below(10)) {
    case 0:
    case 1:
        cursor.insertText(input.text(8, alphabet));
        break;
    case 2:
        cursor.insertText(themeCodes.at(input.below(int(themeCodes.size()))));
        break;
    case 3:
        insertImage(cursor, input);
        break;
    case 4:
        cursor.insertBlock();
        break;
    case 5:
        cursor.insertList(
            input.below(2) ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
        break;
    case 6: {
        // One read a statement: the order of reads must not depend on the compiler.
        const int rows = 1 + input.below(3);
        const int columns = 1 + input.below(3);
        QTextTable *table = cursor.insertTable(rows, columns);
        const int row = input.below(rows);
        const int column = input.below(columns);
        cursor = table->cellAt(row, column).firstCursorPosition();
        break;
    }
    case 7:
        cursor.setPosition(input.below(256) % length);
        break;
    case 8:
        cursor.setPosition(input.below(256) % length, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        break;
    case 9:
        cursor.insertFrame(QTextFrameFormat());
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    GlyphmorphFuzz::isolate();
    GlyphmorphFuzz::startApplication();
    // Starts the theme manager, which makes the built-in theme current.
    Glyphmorpher::m_pInstance = new Glyphmorpher;
    const EmoticonTheme builtIn = EmoticonThemeFactory::defaultEmoticonTheme();
    themeCodes = builtIn.codeSequenceToFilepathMapping().keys();
    std::sort(themeCodes.begin(), themeCodes.end());
    imagePaths = builtIn.filePathToCodeSequenceMapping().keys();
    std::sort(imagePaths.begin(), imagePaths.end());
    imagePaths << QStringLiteral("/nonexistent/smile.png") << QString();
    if (themeCodes.isEmpty())
        GlyphmorphFuzz::fail("no built-in theme", QString());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    GlyphmorphFuzz::Input input(data, size);
    const uint8_t flags = input.byte();
    // Declared before the editor, which may still report changes while it is destroyed.
    int changePosition = 0;
    int changeAdded = 0;
    MTextEdit editor;
    QObject::connect(
        editor.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
            changePosition = position;
            changeAdded = added;
        });

    QTextCursor cursor(editor.document());
    for (int edits = 0; edits < 64 && !input.atEnd(); ++edits)
        edit(cursor, input);
    editor.setTextCursor(cursor);
    if (flags & 1)
        editor.setMaxLength(input.below(64));
    // What the application reports: the last change as the document told it, or figures that
    // went stale, within a few characters of the document.
    if (flags & 2) {
        const int reach = editor.document()->characterCount() + 4;
        changePosition = input.below(reach + 4) - 4;
        changeAdded = input.below(reach + 4) - 4;
    }
    editor.setProperty("positionOfChange", changePosition);
    editor.setProperty("charactersPasted", changeAdded);

    QTextDocument *document = editor.document();
    const QString before = GlyphmorphTest::readDocument(document);
    const bool wholeDocument = flags & 4;
    Glyphmorpher *morpher = Glyphmorpher::m_pInstance;
    morpher->transformTextEditContentToEmoticonInPlace(&editor, QString(), wholeDocument);
    // The walk is one undo step, whatever it replaced.
    const QString after = GlyphmorphTest::readDocument(document);
    if (!wholeDocument && after != before) {
        document->undo();
        const QString undone = GlyphmorphTest::readDocument(document);
        GLYPHMORPH_FUZZ_CHECK(undone == before,
            before + QStringLiteral("\nwalked to\n") + after + QStringLiteral("\nundone to\n")
                + undone);
        document->redo();
    }
    morpher->transformTextEditContentToPlainText(&editor);
    QTextCursor selection(document);
    const int length = document->characterCount();
    selection.setPosition(input.below(256) % length);
    selection.setPosition(input.below(256) % length, QTextCursor::KeepAnchor);
    morpher->transformTextCursorContentToPlainText(&selection);
    morpher->transformInverseTextCursorContentToPlainText(&selection);
    if (flags & 8)
        document->undo();
    return 0;
}
