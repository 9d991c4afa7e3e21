// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "flattrie_p.h"

#include <algorithm>
#include <utility>

void FlatTrie::build(const emoNode *root)
{
    // Breadth first, so that the edges of each node lie together; no recursion, since a theme
    // file may hold very long codes.
    nodes.assign(1, Node());
    characters.clear();
    targets.clear();
    std::vector<const emoNode *> order { root };
    std::vector<std::pair<char16_t, const emoNode *>> children;
    for (size_t i = 0; i < order.size(); ++i) {
        children.clear();
        for (auto it = order[i]->children.cbegin(); it != order[i]->children.cend(); ++it)
            children.emplace_back(it.key().unicode(), it.value());
        std::sort(children.begin(), children.end());
        nodes[i].firstEdge = quint32(characters.size());
        nodes[i].edgeCount = quint32(children.size());
        for (const auto &[c, child] : children) {
            characters.push_back(c);
            targets.push_back(Index(order.size()));
            Node added;
            added.terminal = child->filePath.isEmpty() ? nullptr : child;
            nodes.push_back(added);
            order.push_back(child);
        }
    }
    characters.resize(characters.size() + 8);
    targets.resize(targets.size() + 8);
    buildDenseTable();

    std::fill(std::begin(rootTable), std::end(rootTable), 0);
    std::fill(std::begin(asciiFirst), std::end(asciiFirst), 0);
    std::fill(std::begin(asciiSecond), std::end(asciiSecond), 0);
    highestFirst = 0;
    lowercaseFirst = false;
    nonAsciiFirst = false;
    nonAsciiSecond = false;
    for (quint32 edge = 0; edge < nodes[0].edgeCount; ++edge) {
        const char16_t c = characters[edge];
        const Node &child = nodes[targets[edge]];
        if (c < 256)
            rootTable[c] = targets[edge];
        if (c < 128)
            asciiFirst[c] = child.terminal ? 3 : 1;
        highestFirst = c;
        lowercaseFirst = lowercaseFirst || (c >= u'a' && c <= u'z');
        nonAsciiFirst = nonAsciiFirst || c >= 128;
        for (quint32 next = child.firstEdge; next < child.firstEdge + child.edgeCount; ++next) {
            if (characters[next] < 128)
                asciiSecond[characters[next]] = 1;
            else
                nonAsciiSecond = true;
        }
    }
}

FlatTrie::Index FlatTrie::find(Index node, char16_t c) const
{
    const Node &n = nodes[node];
    const char16_t *edges = characters.data() + n.firstEdge;
#ifdef GLYPHMORPH_SCAN_SSE2
    // Eight edges at a time, without a branch per edge: both arrays have room past their ends.
    const __m128i key = _mm_set1_epi16(short(c));
    for (quint32 done = 0;; done += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i *>(edges + done));
        quint32 bits = quint32(_mm_movemask_epi8(_mm_cmpeq_epi16(eight, key)));
        const quint32 left = n.edgeCount - done;
        if (left < 8)
            bits &= (1u << (2 * left)) - 1;
        if (bits)
            return targets[n.firstEdge + done + qCountTrailingZeroBits(bits) / 2];
        if (left <= 8)
            return 0;
    }
#else
    for (quint32 i = 0; i < n.edgeCount; ++i) {
        if (edges[i] == c)
            return targets[n.firstEdge + i];
    }
    return 0;
#endif
}

void FlatTrie::buildDenseTable()
{
    // About 64 KiB at most: a theme of a few hundred codes gets a row for every node, a huge one
    // for its shallow nodes, where most walks end.
    constexpr size_t maxEntries = 1 << 14;
    std::fill(std::begin(classOf), std::end(classOf), 0);
    classCount = 1;
    const size_t edgeCount = characters.size() - 8;
    for (size_t edge = 0; edge < edgeCount; ++edge) {
        const char16_t c = characters[edge];
        if (c < 128 && !classOf[c])
            classOf[c] = quint8(classCount++);
    }
    denseRows = Index(qMin(nodes.size(), maxEntries / classCount));
    dense.assign(size_t(denseRows) * classCount, 0);
    for (Index node = 0; node < denseRows; ++node) {
        const quint32 first = nodes[node].firstEdge;
        for (quint32 edge = first; edge < first + nodes[node].edgeCount; ++edge) {
            if (characters[edge] < 128)
                dense[node * classCount + classOf[characters[edge]]] = targets[edge];
        }
    }
}
