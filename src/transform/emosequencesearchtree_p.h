// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the nodes and walks behind emoSequenceSearchTree.
#ifndef GLYPHMORPH_EMOSEQUENCESEARCHTREE_P_H
#define GLYPHMORPH_EMOSEQUENCESEARCHTREE_P_H

#include "glyphmorph_export.h"

#include <QChar>
#include <QHash>
#include <QString>

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
    };

    explicit emoSequenceSearchTreePrivate(const QHash<QString, QString> &codeSequenceToFilepath);
    ~emoSequenceSearchTreePrivate();

    emoSequenceSearchTreePrivate(const emoSequenceSearchTreePrivate &) = delete;
    emoSequenceSearchTreePrivate &operator=(const emoSequenceSearchTreePrivate &) = delete;

    void setupCharacterCodeSearchTree(const QHash<QString, QString> &codeSequenceToFilepath);
    /** Sets @p node to the node reached from the root along @p codeSequence, skipping characters
     *  that have no child. */
    void advanceExtensionIterationNode(emoNode *&node, const QString &codeSequence);
    /** Deletes @p node and everything below it. */
    void cleanupSearchTreeRecursively(emoNode *node);

    QString performPlainText2HTMLReplacement(const QString &text, int, const QString &lineBreak);
    /** Word step: copies up to the start of the next word; false when the text is exhausted. */
    bool moveToStartOfNextWord(QString &result, const QString &text, int &pos,
                               const QString &lineBreak);
    /** Code step: replaces the codes at the start of the word at @p pos. */
    void replaceEmoticonSequence(QString &result, const QString &text, int &pos, int,
                                 const QString &lineBreak);

    emoNode *rootNode = nullptr;
};

#endif
