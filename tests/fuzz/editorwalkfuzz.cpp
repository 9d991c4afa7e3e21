// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The editor walk and the readers on documents built from the fuzz bytes: text with codes,
// emoticon images (whose codes may be anything), paragraphs, lists and tables, a change reported
// anywhere near the document, sometimes a length limit. The walk must do what the step-by-step
// model does; a whole-document pass done twice changes nothing the second time.
#include "editormodel.h"
#include "emoticonthemefactory.h"
#include "fuzzsupport.h"
#include "glyphmorpher.h"
#include "mtextedit.h"
#include "richdocument.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>

namespace {

QStringList themeCodes;
QStringList imagePaths;
GlyphmorphTest::EditorWalkModel *model = nullptr;

// Builds the document, the limit and the change from the fuzz bytes; true for the whole document.
bool buildEditor(MTextEdit &editor, const uint8_t *data, size_t size)
{
    GlyphmorphFuzz::Input input(data, size);
    const uint8_t flags = input.byte();
    int changePosition = 0;
    int changeAdded = 0;
    const QMetaObject::Connection tracking = QObject::connect(
        editor.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
            changePosition = position;
            changeAdded = added;
        });
    QTextCursor cursor(editor.document());
    for (int edits = 0; edits < 64 && !input.atEnd(); ++edits)
        GlyphmorphTest::editRichDocument(cursor, input, themeCodes, imagePaths);
    editor.setTextCursor(cursor);
    if (flags & 1)
        editor.setMaxLength(input.below(64));
    QObject::disconnect(tracking);
    // What the application reports: the last change as the document told it, or figures that
    // went stale, within a few characters of the document.
    if (flags & 2) {
        const int reach = editor.document()->characterCount() + 4;
        changePosition = input.below(reach + 4) - 4;
        changeAdded = input.below(reach + 4) - 4;
    }
    editor.setProperty("positionOfChange", changePosition);
    editor.setProperty("charactersPasted", changeAdded);
    return flags & 4;
}

QString report(const QString &before, const QString &after, const QString &expected)
{
    return before + QStringLiteral("\nwalked to\n") + after + QStringLiteral("\nexpected\n")
        + expected;
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
    model = new GlyphmorphTest::EditorWalkModel(builtIn.codeSequenceToFilepathMapping());
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
    using GlyphmorphTest::positionNotation;
    MTextEdit editor;
    const bool wholeDocument = buildEditor(editor, data, size);
    QTextDocument *document = editor.document();
    const QString before = positionNotation(document);
    Glyphmorpher *morpher = Glyphmorpher::m_pInstance;

    MTextEdit expected;
    if (wholeDocument) {
        // The pass reads the content back and walks it again, cut by no limit.
        expected.setText(GlyphmorphTest::readPositions(
            document, 0, INT_MAX, GlyphmorphTest::Separation::AfterWalkSeparator, false));
    } else {
        buildEditor(expected, data, size);
    }
    model->walk(&expected, wholeDocument);

    morpher->transformTextEditContentToEmoticonInPlace(&editor, QString(), wholeDocument);
    const QString after = positionNotation(document);
    GLYPHMORPH_FUZZ_CHECK(after == positionNotation(expected.document()),
        report(before, after, positionNotation(expected.document())));
    if (wholeDocument) {
        // A second pass over converted content changes nothing.
        morpher->transformTextEditContentToEmoticonInPlace(&editor, QString(), true);
        GLYPHMORPH_FUZZ_CHECK(
            positionNotation(document) == after, report(after, positionNotation(document), after));
    } else if (after != before) {
        // The walk is one undo step, whatever it replaced.
        document->undo();
        GLYPHMORPH_FUZZ_CHECK(positionNotation(document) == before,
            report(before, positionNotation(document), before));
        document->redo();
    }

    GlyphmorphFuzz::Input input(data, size);
    morpher->transformTextEditContentToPlainText(&editor);
    QTextCursor selection(document);
    const int length = document->characterCount();
    selection.setPosition(input.below(256) % length);
    selection.setPosition(input.below(256) % length, QTextCursor::KeepAnchor);
    morpher->transformTextCursorContentToPlainText(&selection);
    morpher->transformInverseTextCursorContentToPlainText(&selection);
    if (input.byte() & 8)
        document->undo();
    return 0;
}
