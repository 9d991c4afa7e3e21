// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: a node of the character-code search tree.
#ifndef GLYPHMORPH_EMONODE_P_H
#define GLYPHMORPH_EMONODE_P_H

#include <QChar>
#include <QHash>
#include <QString>

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
};

#endif
