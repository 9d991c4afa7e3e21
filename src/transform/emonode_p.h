// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: a node of the character-code search tree.
#ifndef GLYPHMORPH_EMONODE_P_H
#define GLYPHMORPH_EMONODE_P_H

#include <QChar>
#include <QHash>
#include <QString>

#include <atomic>

struct emoNode
{
    QChar character;
    /** The whole code ending here; empty unless the node is terminal. */
    QString characterCodeSequence;
    /** The image of that code; a node is terminal exactly when this is non-empty. */
    QString filePath;
    /** Owned. */
    QHash<QChar, emoNode *> children;
    /** The HTML image tag of filePath, built once with the tree since every message needs it. */
    QString imageTag;
    /** The Unicode emoji written in place of the image with the emoji-text option; empty when the
     *  code has none. */
    QString emojiText;
    /** A Unicode emoji sequence: it may begin at any grapheme boundary, not only at a word start,
     *  and counts only where a grapheme ends after it. */
    bool emojiSequence = false;
    /** Set once the tree's image source has been asked for filePath. */
    mutable std::atomic<bool> imagePrepared { false };
};

#endif
