// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the nodes and walks behind emoSequenceSearchTree.
#ifndef GLYPHMORPH_EMOSEQUENCESEARCHTREE_P_H
#define GLYPHMORPH_EMOSEQUENCESEARCHTREE_P_H

#include "conversionoptions_p.h"
#include "emonode_p.h"
#include "emosequencesearchtree.h"
#include "flattrie_p.h"
#include "glyphmorph_export.h"

#include <QSet>
#include <QString>

#include <functional>
#include <vector>

class DocumentText;
class PlainTextScan;
class TextEditorAccess;
class QTextCursor;

/**
 * The tree and its engines, one file each:
 * - emosequencesearchtree.cpp: the trie (emoNode) and, in flattrie.cpp, its flat copy;
 * - plaintexttohtml.cpp: which plain text engine runs, and what both share (the image tag; the
 *   code step is in codestep_p.h);
 * - longtextscan.cpp: the long-text scan, a word step and a code step over any text;
 * - messagepath.cpp: the message path, for one-line messages, and in messagepath_avx512.cpp its
 *   AVX-512 read and write;
 * - emojiscan.cpp: the scan of trees that hold Unicode emoji sequences;
 * - editorwalk.cpp: the editor walk over a text document.
 */
class GLYPHMORPH_AUTOTEST_EXPORT emoSequenceSearchTreePrivate
{
public:
    using emoNode = ::emoNode;

    explicit emoSequenceSearchTreePrivate(const QHash<QString, QString> &codeSequenceToFilepath);
    ~emoSequenceSearchTreePrivate();

    emoSequenceSearchTreePrivate(const emoSequenceSearchTreePrivate &) = delete;
    emoSequenceSearchTreePrivate &operator=(const emoSequenceSearchTreePrivate &) = delete;

    void setupCharacterCodeSearchTree(const QHash<QString, QString> &codeSequenceToFilepath);
    /** Sets @p node to the node reached from the root along @p codeSequence, skipping characters
     *  that have no child; false when it skipped any. */
    bool advanceExtensionIterationNode(emoNode *&node, const QString &codeSequence);
    /** Deletes @p node and everything below it. */
    void cleanupSearchTreeRecursively(emoNode *node);

    /** What a tree of Unicode emoji knows beyond its codes. */
    struct EmojiSupport
    {
        /** The codes that are emoji sequences (see emoNode::emojiSequence). */
        QSet<QString> sequences;
        /** Makes the image file at the path, when it is missing; called once per image, before
         *  HTML or an editor first names it, from any thread. */
        std::function<void(const QString &filePath)> prepareImage;
        /** The title of a code's image in round-trip HTML (the emoji's name); null for the code
         *  itself. Called from any thread. */
        std::function<QString(const QString &code)> title;
    };
    /** Sets it up once, before the tree is first used. */
    void setEmojiSupport(EmojiSupport support);
    /** The Unicode emoji that codes stand for, for the emoji-text option; before first use. */
    void setEmojiText(const QHash<QString, QString> &emojiOfCode);
    /** Whether a code of the tree is an emoji sequence. */
    bool hasEmojiSequences() const { return !emoji.sequences.isEmpty(); }
    /** Asks the image source for @p code's image the first time it is named. */
    void prepareImage(const emoNode *code) const
    {
        if (emoji.prepareImage && !code->imagePrepared.load(std::memory_order_acquire)) {
            emoji.prepareImage(code->filePath);
            code->imagePrepared.store(true, std::memory_order_release);
        }
    }
    /** The title of @p code's image in round-trip HTML. */
    QString imageTitle(const emoNode *code) const;

    /** Plain text to HTML: picks the engine (see plaintexttohtml.cpp) and runs it. */
    QString performPlainText2HTMLReplacement(
        const QString &text, const QString &lineBreak, ConversionOptions options = {});

    /** The plain text engines; tests pin one with pinnedPath. */
    enum class PlainTextPath
    {
        /** The one that performPlainText2HTMLReplacement picks. */
        Picked,
        LongTextScan,
        MessagePath,
        /** The message path's AVX-512 form, where the processor has it. */
        MessagePathAvx512,
        /** The scan that also finds emoji sequences at grapheme boundaries. */
        EmojiScan,
    };
    /** Test only: runs this engine wherever it can run, rather than the one picked. */
    PlainTextPath pinnedPath = PlainTextPath::Picked;

    // The long-text scan.
    QString scanText(const QString &text, const QString &lineBreak, ConversionOptions options);
    /** Word step: copies up to the start of the next word; false when the text is exhausted. */
    bool moveToStartOfNextWord(PlainTextScan &result, int &pos);
    /** Code step: replaces the codes at the start of the word at @p pos. */
    void replaceEmoticonSequence(PlainTextScan &result, int &pos);

    // The emoji scan.
    QString scanEmojiText(const QString &text, const QString &lineBreak, ConversionOptions options);
    /** Whether a character of @p text may begin one of the tree's emoji sequences, or is not
     *  ASCII, and so may join the end of a code into its grapheme. */
    bool mayHoldEmoji(const QString &text) const;
    /** The first position in [@p from, @p to) of @p text whose character may begin one of the
     *  tree's emoji sequences, or @p to. */
    int nextEmojiCandidate(const QChar *text, int from, int to) const;
    /** Whether an emoji sequence of the tree begins with @p c. */
    bool mayBeginEmoji(char16_t c) const
    {
        const size_t word = c >> 6;
        return word < emojiFirst.size() && ((emojiFirst[word] >> (c & 63)) & 1);
    }

    // The message path.
    /** The longest text the message path reads: two 64-bit masks of word starts. */
    static constexpr int MessageLength = 128;
    /** Converts @p text, at most MessageLength long, into @p html without options, read and
     *  written with AVX-512 when @p avx512; false, with @p html untouched, when the text holds a
     *  line end, U+2028 or U+2029. */
    bool convertMessage(const QString &text, bool avx512, QString &html) const;

    // Shared by both plain text engines; the code step is in codestep_p.h.
    struct Match
    {
        /** The code found, or null. */
        const emoNode *code;
        /** Where it ends. */
        int end;
        /** Where the walk stopped: at the first character that continues no code, or at the
         *  text's end. */
        int walked;
    };
    /** "<img src='PATH'  width='20' height='20'>" with PATH escaped for the attribute. */
    static QString htmlImageTag(const QString &filePath);
    /** Appends @p c to @p html, as an entity when it is one of & < > " '. */
    static void appendHtmlEscaped(QString &html, QChar c);
    /** The HTML of a scan, or @p text when it could not be made. */
    QString finish(PlainTextScan &result, const QString &text, const QString &lineBreak) const;

    /** U+2028; with U+2029 it is left out of the HTML. */
    static constexpr char16_t LineSeparator = 0x2028;
    /** Whether @p c ends a word: a space, a line feed or a carriage return. */
    static bool isSeparator(char16_t c) { return c == u' ' || c == u'\n' || c == u'\r'; }
    /** Whether @p c is U+2028 or U+2029. */
    static bool isUnicodeBreak(char16_t c) { return c == LineSeparator || c == 0x2029; }
    /** True when a code may begin with @p c. */
    bool mayBeginCode(QChar c) const { return flat.first(c.unicode()) != 0; }

    // The editor walk.
    /** Replaces completed codes around the latest change (or everywhere). */
    void performCharacterCode2EmoticonReplacement(TextEditorAccess &editor, bool wholeDocument);
    /** Editor code step: replaces the codes from the cursor on; true when it inserted an image.
     *  With @p emojiFirst the first code must be an emoji sequence. */
    bool replaceEmoticonSequence(
        TextEditorAccess &editor, QTextCursor &cursor, DocumentText &text, bool emojiFirst = false);
    /** The node whose image the walk makes of @p code: for a code that is not itself an emoji,
     *  the emoji sequence the editor asks for in its place, else @p code. */
    const emoNode *editorImage(const TextEditorAccess &editor, const emoNode *code);
    /** Replaces the emoji sequences that begin inside the word from the cursor on, wherever a
     *  grapheme begins; leaves the cursor at the word's end. */
    bool replaceEmojiInWord(TextEditorAccess &editor, QTextCursor &cursor, DocumentText &text);
    /** Moves back to just before the separator that precedes the cursor's word. */
    bool moveToStartOfCurrentWord(QTextCursor &cursor, DocumentText &text);
    /** Moves forward to just after the next separator; false at the end of the document. */
    bool moveToStartOfNextWord(QTextCursor &cursor, DocumentText &text);

    static emoSequenceSearchTreePrivate *get(emoSequenceSearchTree *tree) { return tree->d.get(); }

    emoNode *rootNode = nullptr;
    FlatTrie flat;
    EmojiSupport emoji;
    /** One bit per UTF-16 unit that an emoji sequence begins with; empty without them. */
    std::vector<quint64> emojiFirst;
};

#endif
