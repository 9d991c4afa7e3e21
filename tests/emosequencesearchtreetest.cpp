// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"
#include "testenvironment.h"

#include <QSet>

using Node = emoSequenceSearchTreePrivate::emoNode;
using Mapping = QHash<QString, QString>;

namespace {

// The tree drawn as "char[=path](children...)", children sorted, so shapes compare as text.
QString draw(const Node *node)
{
    QStringList children;
    for (const Node *child : node->children)
        children << draw(child);
    children.sort();
    QString text = node->character.isNull() ? QStringLiteral("^") : QString(node->character);
    if (!node->filePath.isEmpty())
        text += QLatin1Char('=') + node->filePath;
    if (!children.isEmpty())
        text += QLatin1Char('(') + children.join(QLatin1Char(' ')) + QLatin1Char(')');
    return text;
}

// Collects every node, failing on any node reachable twice or whose code text is wrong.
void collect(const Node *node, const QString &path, QSet<const Node *> &seen, bool &sound)
{
    if (seen.contains(node))
        sound = false;
    seen.insert(node);
    if (!node->filePath.isEmpty() && node->characterCodeSequence != path)
        sound = false;
    for (auto it = node->children.constBegin(); it != node->children.constEnd(); ++it) {
        if (it.value()->character != it.key())
            sound = false;
        collect(it.value(), path + it.key(), seen, sound);
    }
}

const Mapping threeCodes = { { QStringLiteral(":)"), QStringLiteral("a") },
    { QStringLiteral(":-)"), QStringLiteral("b") }, { QStringLiteral(":-"), QStringLiteral("c") } };

} // namespace

class EmoSequenceSearchTreeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shape_data()
    {
        QTest::addColumn<Mapping>("mapping");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty mapping") << Mapping() << QStringLiteral("^");
        QTest::newRow("prefix codes share nodes")
            << threeCodes << QStringLiteral("^(:()=a -=c()=b)))");
        QTest::newRow("only the long code")
            << Mapping { { QStringLiteral(":-)"), QStringLiteral("b") } }
            << QStringLiteral("^(:(-()=b)))");
        QTest::newRow("case makes two children")
            << Mapping { { QStringLiteral(":p"), QStringLiteral("l") },
                   { QStringLiteral(":P"), QStringLiteral("u") } }
            << QStringLiteral("^(:(P=u p=l))");
        QTest::newRow("empty value leaves the code non-terminal")
            << Mapping { { QStringLiteral("<3"), QString() } } << QStringLiteral("^(<(3))");
        QTest::newRow("plain and escaped heart")
            << Mapping { { QStringLiteral("<3"), QStringLiteral("h") },
                   { QStringLiteral("&lt;3"), QStringLiteral("h") } }
            << QStringLiteral("^(&(l(t(;(3=h)))) <(3=h))");
        QTest::newRow("keys taken verbatim")
            << Mapping { { QStringLiteral(" x "), QStringLiteral("s") } }
            << QStringLiteral("^( (x( =s)))");
    }

    void shape()
    {
        QFETCH(Mapping, mapping);
        QFETCH(QString, expected);
        emoSequenceSearchTreePrivate tree(mapping);
        QCOMPARE(draw(tree.rootNode), expected);
        QSet<const Node *> seen;
        bool sound = true;
        collect(tree.rootNode, QString(), seen, sound);
        QVERIFY(sound);
    }

    void advanceExtension_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QString>("reached"); // the path of the node reached
        QTest::newRow("whole long code") << QStringLiteral(":-)") << QStringLiteral(":-)");
        QTest::newRow("unknown character skipped") << QStringLiteral(":x)") << QStringLiteral(":)");
        QTest::newRow("empty sequence stays at root") << QString() << QString();
        QTest::newRow("prefix") << QStringLiteral(":-") << QStringLiteral(":-");
        QTest::newRow("nothing known") << QStringLiteral("ab") << QString();
    }

    void advanceExtension()
    {
        QFETCH(QString, sequence);
        QFETCH(QString, reached);
        emoSequenceSearchTreePrivate tree(threeCodes);
        Node *expected = tree.rootNode;
        for (const QChar c : reached)
            expected = expected->children.value(c);
        Node *node = nullptr; // whatever it held before does not matter
        QCOMPARE(tree.advanceExtensionIterationNode(node, sequence), reached == sequence);
        QCOMPARE(node, expected);
    }

    void bigTreesAreReleasedSafely()
    {
        // Thousands of codes and one code far deeper than any call stack could recurse.
        Mapping mapping;
        for (int i = 0; i < 5000; ++i)
            mapping.insert(QString::number(i * 7919, 36), QStringLiteral("/i.png"));
        mapping.insert(QString(300000, QLatin1Char('x')), QStringLiteral("/deep.png"));
        auto *tree = new emoSequenceSearchTreePrivate(mapping);
        QSet<const Node *> seen;
        bool sound = true;
        for (const Node *child : tree->rootNode->children)
            if (child->character != QLatin1Char('x'))
                collect(child, QString(child->character), seen, sound);
        QVERIFY(sound);
        delete tree;
    }

    void publicTreeWalksItsOwnNodes()
    {
        emoSequenceSearchTree tree(threeCodes);
        QCOMPARE(tree.performPlainText2HTMLReplacement(QStringLiteral(":-)"), 0, QString()),
            QStringLiteral("<img src='b'  width='20' height='20'>"));
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmoSequenceSearchTreeTest)
#include "emosequencesearchtreetest.moc"
