// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the search tree laid out in arrays for the plain text scans.
#ifndef GLYPHMORPH_FLATTRIE_P_H
#define GLYPHMORPH_FLATTRIE_P_H

#include "emonode_p.h"
#include "simd_p.h"

#include <QtGlobal>

#include <vector>

/**
 * A copy of the search tree in arrays, built with it: each node's children sorted by character,
 * the root's children below U+0100 in a table, and the shallow nodes' ASCII children in rows of
 * a dense table, so that a walk costs no hash lookup and most steps one array read.
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
    /** The child of @p node under @p c, or 0. */
    Index next(Index node, char16_t c) const
    {
        return c < 128 && node < denseRows ? dense[node * classCount + classOf[c]] : find(node, c);
    }
    /** The tree's node when a code ends at @p node, else null. */
    const emoNode *terminal(Index node) const { return nodes[node].terminal; }
    /** Whether a code begins with a lower-case ASCII letter. */
    bool hasLowercaseFirst() const { return lowercaseFirst; }
    /** The highest character that a code begins with, 0 when there are none. */
    char16_t highestFirstCharacter() const { return highestFirst; }
    /** 128 bytes, the one for ASCII character c not 0 when a code begins with c, and with bit 1
     *  set when c alone is a code. */
    const quint8 *firstTable() const { return asciiFirst; }
    /** Whether a code begins with a character from U+0080 on. */
    bool hasNonAsciiFirst() const { return nonAsciiFirst; }
    /** 128 bytes, the one for ASCII character c not 0 when c is the second of some code. */
    const quint8 *secondTable() const { return asciiSecond; }
    /** Whether the second character of some code is one from U+0080 on. */
    bool hasNonAsciiSecond() const { return nonAsciiSecond; }

private:
    Index find(Index node, char16_t c) const;
    void buildDenseTable();

    struct Node
    {
        quint32 firstEdge = 0;
        quint32 edgeCount = 0;
        const emoNode *terminal = nullptr;
    };
    std::vector<Node> nodes;
    // The edges of node i are [firstEdge, firstEdge + edgeCount), sorted by character; both arrays
    // hold eight more after the last edge, so that SSE2 can compare eight from any node.
    std::vector<char16_t> characters;
    std::vector<Index> targets;
    // The first denseRows nodes (the shallowest: they are numbered breadth first) have a row of
    // classCount children, one per ASCII character that some code holds, and class 0 for the
    // rest: a step along an edge is then one read. Rows are made while the table stays small.
    std::vector<Index> dense;
    Index denseRows = 0;
    quint32 classCount = 1;
    quint8 classOf[128] = {};
    Index rootTable[256] = {};
    alignas(64) quint8 asciiFirst[128] = {};
    alignas(64) quint8 asciiSecond[128] = {};
    char16_t highestFirst = 0;
    bool lowercaseFirst = false;
    bool nonAsciiFirst = false;
    bool nonAsciiSecond = false;
};

#endif
