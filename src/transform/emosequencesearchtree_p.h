// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the nodes and walks behind emoSequenceSearchTree.
#ifndef GLYPHMORPH_EMOSEQUENCESEARCHTREE_P_H
#define GLYPHMORPH_EMOSEQUENCESEARCHTREE_P_H

#include "emosequencesearchtree.h"
#include "glyphmorph_export.h"
#include "glyphmorpher.h"

#include <QChar>
#include <QHash>
#include <QString>

#include <algorithm>
#include <vector>

// The portable loops stand in where SSE2 is missing, and in builds that test them.
#if defined(__SSE2__) && !defined(GLYPHMORPH_NO_SIMD)
#define GLYPHMORPH_SCAN_SSE2
#include <emmintrin.h>
// Processors with AVX-512 (its byte and word instructions and byte permutes) read a message in
// wider steps; the choice is made at run time.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define GLYPHMORPH_SCAN_WIDE
#endif
#endif

class DocumentText;
class PlainTextScan;
class TextEditorAccess;
class QTextCursor;

class GLYPHMORPH_AUTOTEST_EXPORT emoSequenceSearchTreePrivate
{
public:
    struct emoNode
    {
        QChar character;
        /** The whole code ending here; empty unless the node is terminal. */
        QString characterCodeSequence;
        /** The image of that code; a node is terminal exactly when this is non-empty. */
        QString filePath;
        /** Owned. */
        QHash<QChar, emoNode *> children;
        /** The HTML image tag of filePath, built once with the tree since every message needs it.
         */
        QString imageTag;
    };

    /**
     * The tree laid out in arrays for the plain text scan, built with it: each node's children
     * sorted by character, and the root's children below U+0100 in a table, so that a message
     * costs no hash lookup and most words one table read.
     */
    class FlatTrie
    {
    public:
        /** A node; 0 is the root, which no edge leads to, so it also stands for "none". */
        using Index = quint32;

        void build(const emoNode *root);

        /** The root's child under @p c, or 0. */
        Index first(char16_t c) const
        {
            return c < 256 ? rootTable[c] : c > highestFirst ? 0 : find(0, c);
        }
        /** The child of @p node under @p c, or 0: from the table when it has a row for the node
         *  and @p c is ASCII, else from the node's sorted edges. */
        Index next(Index node, char16_t c) const
        {
            return c < 128 && node < denseRows ? dense[node * classCount + classOf[c]]
                                               : find(node, c);
        }
        /** The child of @p node under @p c, or 0, from the node's sorted edges. */
        Index find(Index node, char16_t c) const
        {
            const Node &n = nodes[node];
            const char16_t *edges = characters.data() + n.firstEdge;
#ifdef GLYPHMORPH_SCAN_SSE2
            // Eight edges at a time, without a branch per edge, and for most nodes without a
            // branch on whether one matched: both arrays have room past their ends.
            const __m128i key = _mm_set1_epi16(short(c));
            for (quint32 done = 0;; done += 8) {
                const __m128i eight
                    = _mm_loadu_si128(reinterpret_cast<const __m128i *>(edges + done));
                quint32 bits = quint32(_mm_movemask_epi8(_mm_cmpeq_epi16(eight, key)));
                const quint32 left = n.edgeCount - done;
                if (left < 8)
                    bits &= (1u << (2 * left)) - 1;
                if (left <= 8 || bits) {
                    // Without a match this reads the eighth entry, which the padding holds.
                    const Index target
                        = targets[n.firstEdge + done + qCountTrailingZeroBits(bits | 0x8000) / 2];
                    return bits ? target : 0;
                }
            }
#else
            for (quint32 i = 0; i < n.edgeCount; ++i) {
                if (edges[i] == c)
                    return targets[n.firstEdge + i];
            }
            return 0;
#endif
        }
        /** The longest code that wholeWord() finds. */
        static constexpr int WholeWordLength = 7;
        /** The image tag of a code that wholeWord() finds. */
        struct WordCode
        {
            const char16_t *tag;
            int tagLength;
        };
#ifdef GLYPHMORPH_SCAN_SSE2
        /**
         * The code that the word at @p word is as a whole, or null when it is none, is longer
         * than WholeWordLength, or some code holds a separator. The word ends at a space or
         * after @p left (at least 1) characters; eight characters are read in any case. Sets
         * @p wordLength to the word's length where it is a code.
         *
         * Where no code holds a separator, a word that is a code is also what a walk from its
         * first character finds: the walk cannot go on past the word's end.
         */
        const WordCode *wholeWord(const char16_t *word, int left, int &wordLength) const
        {
            const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i *>(word));
            // Two bits per character: spaces, and from the message's end on everything.
            const quint32 ends
                = quint32(_mm_movemask_epi8(_mm_cmpeq_epi16(eight, _mm_set1_epi16(' '))))
                | ~0u << (2 * qMin(left, 8));
            wordLength = int(qCountTrailingZeroBits(ends)) / 2;
            if (wordLength > WholeWordLength)
                return nullptr;
            // The word's characters, its length in the last.
            const __m128i kept = _mm_cmpgt_epi16(
                _mm_set1_epi16(short(wordLength)), _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7));
            const __m128i key
                = _mm_insert_epi16(_mm_and_si128(eight, kept), wordLength, 7);
            const quint64 low = quint64(_mm_cvtsi128_si64(key));
            const quint64 high = quint64(_mm_cvtsi128_si64(_mm_unpackhi_epi64(key, key)));
            for (quint32 slot = wordSlotOf(low, high);; slot = (slot + 1) & wordMask) {
                const __m128i held
                    = _mm_load_si128(reinterpret_cast<const __m128i *>(&wordKeys[slot]));
                if (_mm_movemask_epi8(_mm_cmpeq_epi16(held, key)) == 0xffff)
                    return &wordCodes[slot];
                // An empty slot, whose length is 0, ends the search.
                if (_mm_extract_epi16(held, 7) == 0)
                    return nullptr;
            }
        }
#endif
        /** The tree's node when a code ends at @p node, else null. */
        const emoNode *terminal(Index node) const { return nodes[node].terminal; }
        bool hasChildren(Index node) const { return nodes[node].edgeCount != 0; }
        /** Whether a code begins with a lower-case ASCII letter. */
        bool hasLowercaseFirst() const { return lowercaseFirst; }
        /** The highest character that a code begins with, 0 when there are none. */
        char16_t highestFirstCharacter() const { return highestFirst; }
        /** 128 bytes, the one for ASCII character c not 0 when a code begins with c, and with
         *  bit 1 set when c alone is a code. */
        const quint8 *firstTable() const { return asciiFirst; }
        /** Whether a code begins with a character from U+0080 on. */
        bool hasNonAsciiFirst() const { return nonAsciiFirst; }
        /** 128 bytes, the one for ASCII character c not 0 when c is the second of some code. */
        const quint8 *secondTable() const { return asciiSecond; }
        /** Whether the second character of some code is one from U+0080 on. */
        bool hasNonAsciiSecond() const { return nonAsciiSecond; }
        /** Whether messages are read in the processor's wider steps. */
        bool scansWide() const { return wide; }
        /** Reads messages in wider steps when @p on and the processor has them; for tests. */
        void setWideScan(bool on);

    private:
        void buildTable();
        void buildWordTable();
        /** Where the search for a word's key (its 64-bit halves) begins. */
        quint32 wordSlotOf(quint64 low, quint64 high) const
        {
            return quint32(((low ^ (high * 0x9e3779b97f4a7c15ull)) * wordMultiplier) >> 32)
                & wordMask;
        }

        struct Node
        {
            quint32 firstEdge = 0;
            quint32 edgeCount = 0;
            const emoNode *terminal = nullptr;
        };
        std::vector<Node> nodes;
        // The edges of node i are [firstEdge, firstEdge + edgeCount), sorted by character; both
        // arrays hold eight more after the last edge, so that eight can be read from any node.
        std::vector<char16_t> characters;
        std::vector<Index> targets;
        // The first denseRows nodes (the shallowest: they are numbered breadth first) have a row
        // of classCount children, one per ASCII character that some code holds, and class 0 for
        // the rest; a step along an edge is then one read, with no search and no branch on the
        // node's edges. Rows are made while the table stays small.
        std::vector<Index> dense;
        Index denseRows = 0;
        quint32 classCount = 1;
        quint8 classOf[128] = {};
        // The codes of up to WholeWordLength characters by their characters (each key holds its
        // code's length in its last character), in open addressing; one empty slot when a code
        // holds a separator or there are very many.
        struct alignas(16) WordKey
        {
            char16_t characters[8];
        };
        std::vector<WordKey> wordKeys;
        std::vector<WordCode> wordCodes;
        quint32 wordMask = 0;
        quint64 wordMultiplier = 0;
        Index rootTable[256] = {};
        alignas(64) quint8 asciiFirst[128] = {};
        alignas(64) quint8 asciiSecond[128] = {};
        char16_t highestFirst = 0;
        bool lowercaseFirst = false;
        bool nonAsciiFirst = false;
        bool nonAsciiSecond = false;
        bool wide = false;
    };

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

    QString performPlainText2HTMLReplacement(const QString &text, int, const QString &lineBreak,
        Glyphmorpher::ConversionOptions options = Glyphmorpher::DefaultConversion);
    /** Word step: copies up to the start of the next word; false when the text is exhausted. */
    bool moveToStartOfNextWord(
        PlainTextScan &result, const QString &text, int &pos, const QString &lineBreak);
    /** Code step: replaces the codes at the start of the word at @p pos. */
    void replaceEmoticonSequence(
        PlainTextScan &result, const QString &text, int &pos, int, const QString &lineBreak);

    /** Editor walk: replaces completed codes around the latest change (or everywhere). */
    void performCharacterCode2EmoticonReplacement(TextEditorAccess &editor, bool wholeDocument);
    /** Editor code step: replaces the codes from the cursor on; true when it inserted an image. */
    bool replaceEmoticonSequence(TextEditorAccess &editor, QTextCursor &cursor, DocumentText &text);
    /** Moves back to just before the separator that precedes the cursor's word. */
    bool moveToStartOfCurrentWord(QTextCursor &cursor, DocumentText &text);
    /** Moves forward to just after the next separator; false at the end of the document. */
    bool moveToStartOfNextWord(QTextCursor &cursor, DocumentText &text);

    /** Texts up to this long are read at once, as a message. */
    static constexpr int ShortText = 128;
    /** How far a message's pieces are read, and written, past their ends: an image tag is
     *  longer. */
    static constexpr int Room = 32;
    /** What the scan needs to know of a message. */
    struct MessageBits
    {
        /** Bit i of word i / 64 is set when a word begins at character i (a character that is no
         *  separator, at the start or after a separator) with a character that may begin a code,
         *  or with U+2028 or U+2029. */
        quint64 starts[2];
        /** Of starts, those where a code may be found by a message without breaks: the word's
         *  first character is a code, or its second may go on one. Found only in wider steps;
         *  starts else. */
        quint64 codeStarts[2];
        /** Whether the message holds a line end, U+2028 or U+2029. */
        bool anyBreak;
        /** A copy of the message at buffer + Room: Room characters before and after it may be
         *  read, and hold anything. */
        char16_t buffer[Room + ShortText + Room];
        char16_t *text() { return buffer + Room; }
        const char16_t *text() const { return buffer + Room; }
        /** Sets starts from the separators and the characters that matter, 64 at a time. */
        void setStarts(quint64 separators0, quint64 separators1, quint64 matters0, quint64 matters1)
        {
            starts[0] = matters0 & ((separators0 << 1) | 1);
            starts[1] = matters1 & ((separators1 << 1) | (separators0 >> 63));
            codeStarts[0] = starts[0];
            codeStarts[1] = starts[1];
        }
    };
    /** The scan of a text that is no one-line message, or is converted with @p options; with
     *  @p message when the text is read as one. */
    QString scanText(const QString &text, const QString &lineBreak,
        Glyphmorpher::ConversionOptions options, const MessageBits *message);
    /** Where the words that matter begin in @p text, at most ShortText long. */
    MessageBits readMessage(const QString &text) const;
    /** The same in the processor's wider steps, which must be there (scansWide()). */
    MessageBits readMessageWide(const char16_t *data, int length) const;
    /** A message that holds no line end, U+2028 or U+2029, converted without options. */
    QString convertMessage(const QString &text, const MessageBits &bits) const;
    /** An image of a message: the text [from, to) becomes the tagLength characters at tag. */
    struct MessageImage
    {
        int from;
        int to;
        const char16_t *tag;
        int tagLength;
    };
    /** Writes the HTML of a message, @p size long, at @p html: the @p length characters of
     *  @p message (a MessageBits copy) around its @p count images, in the processor's wider
     *  steps, which must be there. */
    static void writeMessageWide(char16_t *html, int size, const char16_t *message, int length,
        const MessageImage *images, int count);
    /** Both steps over a short text in one loop. */
    void scanShortText(PlainTextScan &result, const MessageBits &bits) const;
    /** The code step's walk from the root, for a word that may begin with a code. */
    void readCodeSequences(PlainTextScan &result, int &pos) const;
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
    /** The match step: the longest code that begins at @p pos in @p text (with @p strict, the
     *  longest whose end it accepts). */
    Match matchCode(const QChar *text, int length, int pos, const PlainTextScan *strict) const;
    /** "<img src='PATH'  width='20' height='20'>" with PATH escaped for the attribute. */
    static QString htmlImageTag(const QString &filePath);
    /** Appends @p c to @p html, as an entity when it is one of & < > " '. */
    static void appendHtmlEscaped(QString &html, QChar c);

    /** U+2028; with U+2029 it is left out of the HTML. */
    static constexpr char16_t LineSeparator = 0x2028;
    /** Whether @p c ends a word: a space, a line feed or a carriage return. */
    static bool isSeparator(char16_t c) { return c == u' ' || c == u'\n' || c == u'\r'; }
    /** Whether @p c is U+2028 or U+2029. */
    static bool isUnicodeBreak(char16_t c) { return c == LineSeparator || c == 0x2029; }

    /** True when a code may begin with @p c. */
    bool mayBeginCode(QChar c) const { return flat.first(c.unicode()) != 0; }

    static emoSequenceSearchTreePrivate *get(emoSequenceSearchTree *tree) { return tree->d.get(); }

    emoNode *rootNode = nullptr;
    FlatTrie flat;
};

#endif
