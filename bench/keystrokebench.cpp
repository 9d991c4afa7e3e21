// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// One keystroke at the end of a message: a character typed and the editor walk run for the change.
// Typing must cost the same in a short message and in a long one.
#include "benchmain.h"
#include "chatcorpus.h"

#include <emosequencesearchtree.h>
#include <mtextedit.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// Small images for every code, so that laying out a line with images reads no file.
const QHash<QString, QString> &codes()
{
    static QTemporaryDir directory;
    static const QHash<QString, QString> mapping = [] {
        const QHash<QString, QString> codes = GlyphmorphBench::builtinCodeMapping(directory.path());
        QImage image(20, 20, QImage::Format_ARGB32);
        image.fill(Qt::yellow);
        for (const QString &path : codes)
            image.save(path, "PNG");
        return codes;
    }();
    return mapping;
}

// An editor holding @p length characters of chat text, its codes already images, a cursor at
// the end.
struct Message
{
    explicit Message(int length)
        : tree(codes())
    {
        editor.document()->setUndoRedoEnabled(false);
        // The paragraph being typed is the same at every length: only the text before it grows.
        const QString typing = QStringLiteral("\nok see you at the station so");
        editor.setText(GlyphmorphBench::chatCorpus(length).left(length - typing.size()) + typing);
        tree.performCharacterCode2EmoticonReplacement(&editor, true);
        cursor = QTextCursor(editor.document());
        cursor.movePosition(QTextCursor::End);
    }

    emoSequenceSearchTree tree;
    MTextEdit editor;
    QTextCursor cursor;
};

void KeystrokeEditorOnly(benchmark::State &state)
{
    Message message(int(state.range(0)));
    for (auto _ : state) {
        message.cursor.insertText(QStringLiteral("x"));
        message.cursor.deletePreviousChar(); // the next keystroke meets the same document
    }
    state.counters["characters"] = message.editor.document()->characterCount();
}

// The library's own share of a keystroke: the walk over the word just typed.
void WalkAfterKeystroke(benchmark::State &state)
{
    Message message(int(state.range(0)));
    const int position = message.cursor.position();
    message.cursor.insertText(QStringLiteral("x"));
    message.editor.setProperty("positionOfChange", position);
    message.editor.setProperty("charactersPasted", 1);
    for (auto _ : state)
        message.tree.performCharacterCode2EmoticonReplacement(&message.editor, false);
    state.counters["characters"] = message.editor.document()->characterCount();
}

void Keystroke(benchmark::State &state)
{
    Message message(int(state.range(0)));
    for (auto _ : state) {
        const int position = message.cursor.position();
        message.cursor.insertText(QStringLiteral("x"));
        message.editor.setProperty("positionOfChange", position);
        message.editor.setProperty("charactersPasted", 1);
        message.tree.performCharacterCode2EmoticonReplacement(&message.editor, false);
        message.cursor.deletePreviousChar();
    }
    state.counters["characters"] = message.editor.document()->characterCount();
}

} // namespace

BENCHMARK(KeystrokeEditorOnly)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WalkAfterKeystroke)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Keystroke)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return GlyphmorphBench::runWithRatios(argc, argv, "WalkAfterKeystroke/100");
}
