// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"

#include <utility>
#include <vector>

emoSequenceSearchTree::emoSequenceSearchTree(const QHash<QString, QString> &codeSequenceToFilepath)
    : d(new emoSequenceSearchTreePrivate(codeSequenceToFilepath))
{ }

emoSequenceSearchTree::~emoSequenceSearchTree() = default;

QString emoSequenceSearchTree::performPlainText2HTMLReplacement(
    const QString &text, int n, const QString &lineBreak)
{
    Q_UNUSED(n);
    return d->performPlainText2HTMLReplacement(text, lineBreak);
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

void emoSequenceSearchTreePrivate::setEmojiSupport(EmojiSupport support)
{
    emoji = std::move(support);
    emojiFirst.assign(emoji.sequences.isEmpty() ? 0 : 0x10000 / 64, 0);
    for (const QString &code : qAsConst(emoji.sequences)) {
        emoNode *node = rootNode;
        if (!advanceExtensionIterationNode(node, code) || node->filePath.isEmpty())
            continue;
        node->emojiSequence = true;
        const char16_t first = code.at(0).unicode();
        emojiFirst[first >> 6] |= quint64(1) << (first & 63);
    }
}

void emoSequenceSearchTreePrivate::setEmojiText(const QHash<QString, QString> &emojiOfCode)
{
    for (auto it = emojiOfCode.constBegin(); it != emojiOfCode.constEnd(); ++it) {
        emoNode *node = rootNode;
        if (advanceExtensionIterationNode(node, it.key()) && !node->filePath.isEmpty())
            node->emojiText = it.value();
    }
}

QString emoSequenceSearchTreePrivate::imageTitle(const emoNode *code) const
{
    return emoji.title ? emoji.title(code->characterCodeSequence) : QString();
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
