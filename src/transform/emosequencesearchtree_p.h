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

class DocumentText;
class MTextEdit;
class PlainTextScan;
class QTextCursor;

class GLYPHMORPH_AUTOTEST_EXPORT emoSequenceSearchTreePrivate
{
public:
    /** The first characters of a theme's codes. */
    class CodeStarts
    {
    public:
        void add(char16_t c) { flags[slot(c)] = 1; }
        /** Exact below U+0100; above it, false rules a character out and true may be wrong. */
        bool mayContain(char16_t c) const { return flags[slot(c)]; }

    private:
        // One flag for each character below U+0100, and 64 shared by everything above.
        static int slot(char16_t c) { return c < 256 ? c : 256 + (c & 63); }
        uchar flags[256 + 64] = {};
    };

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
    void performCharacterCode2EmoticonReplacement(MTextEdit *textEdit, bool wholeDocument);
    /** Editor code step: replaces the codes from the cursor on; true when it inserted an image. */
    bool replaceEmoticonSequence(MTextEdit *textEdit, QTextCursor &cursor, DocumentText &text);
    /** Moves back to just before the separator that precedes the cursor's word. */
    bool moveToStartOfCurrentWord(QTextCursor &cursor, DocumentText &text);
    /** Moves forward to just after the next separator; false at the end of the document. */
    bool moveToStartOfNextWord(QTextCursor &cursor, DocumentText &text);

    /** The code step's walk from the root, for a word that may begin with a code. */
    void readCodeSequences(PlainTextScan &result, int &pos) const;
    /** "<img src='PATH'  width='20' height='20'>" with PATH escaped for the attribute. */
    static QString htmlImageTag(const QString &filePath);

    /** True when a code may begin with @p c. */
    bool mayBeginCode(QChar c) const
    {
        const char16_t u = c.unicode();
        return codeStarts.mayContain(u) && (u < 256 || rootNode->children.contains(c));
    }

    static emoSequenceSearchTreePrivate *get(emoSequenceSearchTree *tree) { return tree->d.get(); }

    emoNode *rootNode = nullptr;
    /** The root's children, so that most words need no hash lookup. */
    CodeStarts codeStarts;
};

#endif
