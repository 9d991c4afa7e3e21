// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

emoSequenceSearchTree::emoSequenceSearchTree(const QHash<QString, QString> &codeSequenceToFilepath)
    : d(new emoSequenceSearchTreePrivate(codeSequenceToFilepath))
{ }

emoSequenceSearchTree::~emoSequenceSearchTree() = default;

QString emoSequenceSearchTree::performPlainText2HTMLReplacement(
    const QString &text, int n, const QString &lineBreak)
{
    return d->performPlainText2HTMLReplacement(text, n, lineBreak);
}

emoSequenceSearchTreePrivate::emoSequenceSearchTreePrivate(
    const QHash<QString, QString> &codeSequenceToFilepath)
    : rootNode(new emoNode)
{
    setupCharacterCodeSearchTree(codeSequenceToFilepath);
}

emoSequenceSearchTreePrivate::~emoSequenceSearchTreePrivate()
{
    cleanupSearchTreeRecursively(rootNode);
}

void emoSequenceSearchTreePrivate::setupCharacterCodeSearchTree(
    const QHash<QString, QString> &codeSequenceToFilepath)
{
    for (auto it = codeSequenceToFilepath.constBegin(); it != codeSequenceToFilepath.constEnd();
         ++it) {
        emoNode *node = rootNode;
        for (const QChar c : it.key()) {
            emoNode *&child = node->children[c];
            if (!child) {
                child = new emoNode;
                child->character = c;
            }
            node = child;
        }
        node->filePath = it.value();
        node->characterCodeSequence = it.key();
        node->imageTag = htmlImageTag(it.value());
    }
    flat.build(rootNode);
}

void emoSequenceSearchTreePrivate::FlatTrie::build(const emoNode *root)
{
    // Breadth first, so that the edges of each node lie together; no recursion, since a theme
    // file may hold very long codes.
    nodes.assign(1, Node());
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
    buildTable();
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
#ifdef GLYPHMORPH_SCAN_SSE2
    buildWordTable();
#endif
    setWideScan(true);
}

void emoSequenceSearchTreePrivate::FlatTrie::buildWordTable()
{
    std::vector<std::pair<WordKey, const emoNode *>> words;
    bool separatorInCode = false;
    for (const Node &node : nodes) {
        if (!node.terminal)
            continue;
        const QString &code = node.terminal->characterCodeSequence;
        for (const QChar c : code)
            separatorInCode = separatorInCode || isSeparator(c.unicode());
        if (code.size() > WholeWordLength)
            continue;
        WordKey key {};
        const char16_t *characters = reinterpret_cast<const char16_t *>(code.constData());
        std::copy(characters, characters + code.size(), key.characters);
        key.characters[7] = char16_t(code.size());
        words.emplace_back(key, node.terminal);
    }
    // A huge theme walks its tree: the table stays within 256 KiB.
    if (separatorInCode || words.size() > 4096)
        words.clear();
    // At most half full, so that most searches end at their first slot.
    quint32 size = 1;
    while (size < 2 * words.size())
        size *= 2;
    wordMask = size - 1;
    // Of a few multipliers, the one that leaves the fewest codes away from their first slot.
    const auto halves = [](const WordKey &key) {
        quint64 half[2];
        std::memcpy(half, key.characters, sizeof half);
        return std::make_pair(half[0], half[1]);
    };
    quint64 seed = 0x243f6a8885a308d3ull;
    size_t fewest = std::numeric_limits<size_t>::max();
    quint64 chosen = 0;
    std::vector<WordKey> keys;
    std::vector<WordCode> codes;
    for (int attempt = 0; attempt < 8 && fewest != 0; ++attempt) {
        // SplitMix64's steps: odd multipliers whose bits are well mixed.
        seed += 0x9e3779b97f4a7c15ull;
        quint64 candidate = (seed ^ (seed >> 30)) * 0xbf58476d1ce4e5b9ull;
        candidate = ((candidate ^ (candidate >> 27)) * 0x94d049bb133111ebull) | 1;
        wordMultiplier = candidate;
        keys.assign(size, WordKey {});
        codes.assign(size, WordCode { nullptr, 0 });
        size_t displaced = 0;
        for (const auto &[key, code] : words) {
            const auto [low, high] = halves(key);
            quint32 slot = wordSlotOf(low, high);
            for (; keys[slot].characters[7] != 0; slot = (slot + 1) & wordMask)
                ++displaced;
            keys[slot] = key;
            codes[slot] = { reinterpret_cast<const char16_t *>(code->imageTag.constData()),
                int(code->imageTag.size()) };
        }
        if (displaced < fewest) {
            fewest = displaced;
            wordKeys = keys;
            wordCodes = codes;
            chosen = candidate;
        }
    }
    wordMultiplier = chosen;
}

void emoSequenceSearchTreePrivate::FlatTrie::setWideScan(bool on)
{
#ifdef GLYPHMORPH_SCAN_WIDE
    __builtin_cpu_init();
    wide = on && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
#else
    Q_UNUSED(on);
    wide = false;
#endif
}

void emoSequenceSearchTreePrivate::FlatTrie::buildTable()
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

bool emoSequenceSearchTreePrivate::advanceExtensionIterationNode(
    emoNode *&node, const QString &codeSequence)
{
    node = rootNode;
    bool whole = true;
    for (const QChar c : codeSequence) {
        const auto it = node->children.constFind(c);
        if (it != node->children.constEnd())
            node = it.value();
        else
            whole = false;
    }
    return whole;
}

void emoSequenceSearchTreePrivate::cleanupSearchTreeRecursively(emoNode *node)
{
    // A theme file may hold codes thousands of characters long: walk with a stack of our own so the
    // depth of the tree never becomes the depth of the call stack.
    std::vector<emoNode *> pending;
    if (node)
        pending.push_back(node);
    while (!pending.empty()) {
        emoNode *current = pending.back();
        pending.pop_back();
        for (emoNode *child : qAsConst(current->children))
            pending.push_back(child);
        delete current;
    }
}
