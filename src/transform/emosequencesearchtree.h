// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOSEQUENCESEARCHTREE_H
#define GLYPHMORPH_EMOSEQUENCESEARCHTREE_H

#include "glyphmorph_export.h"

#include <QHash>
#include <QString>

#include <memory>

class emoSequenceSearchTreePrivate;
class MTextEdit;

/**
 * The character-code search tree of one theme: a trie over the characters of every code.
 *
 * Built once from a theme's code-to-image mapping and only read afterwards. A theme owns its tree;
 * walking it costs one lookup per examined character, however many codes the theme has.
 */
class GLYPHMORPH_EXPORT emoSequenceSearchTree
{
public:
    /** Builds the tree from code sequences (keys) to image file paths (values), taken verbatim. */
    explicit emoSequenceSearchTree(const QHash<QString, QString> &codeSequenceToFilepath);
    ~emoSequenceSearchTree();

    emoSequenceSearchTree(const emoSequenceSearchTree &) = delete;
    emoSequenceSearchTree &operator=(const emoSequenceSearchTree &) = delete;

    /**
     * Returns @p text as HTML: every code at the start of a word, or right after another code,
     * becomes
     * "<img src='PATH'  width='20' height='20'>", every line feed and carriage return becomes
     * @p lineBreak, U+2028 and U+2029 at code positions are dropped, everything else is copied
     * unchanged (escape the text first if it must be valid HTML). The integer is ignored.
     * HTML that would pass the longest string Qt holds (about 2^30 characters), or that memory
     * cannot hold, is not made: the result is then @p text unchanged.
     */
    QString performPlainText2HTMLReplacement(const QString &text, int, const QString &lineBreak);

    /**
     * Replaces the codes in @p textEdit by inline images that carry their code, in one edit block
     * (one undo step). With @p wholeDocument false only the words around the latest change are
     * read: the editor's dynamic properties "positionOfChange" and "charactersPasted" (ints) say
     * where it began and how many characters it inserted. An image grows into a longer code when
     * the characters after it complete one. The editor's "imageResourceHash" property records the
     * images already added to its document; its "keptCode" property, the code that
     * Glyphmorpher::revertEmoticonBeforeCursor() turned back into text, which stays text until
     * edited.
     */
    void performCharacterCode2EmoticonReplacement(MTextEdit *textEdit, bool wholeDocument);

private:
    // get() hands the engines to the facade and the tests.
    friend class emoSequenceSearchTreePrivate;
    const std::unique_ptr<emoSequenceSearchTreePrivate> d;
};

#endif
