// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"
#include "testenvironment.h"

#include <QRandomGenerator>
#include <QSet>

using Node = emoSequenceSearchTreePrivate::emoNode;
using Mapping = QHash<QString, QString>;

namespace {

QString img(const QString &path)
{
    QString escaped = path.toHtmlEscaped();
    escaped.replace('\'', "&#39;");
    return "<img src='" + escaped + "'  width='20' height='20'>";
}

const Mapping threeCodes = { { ":)", "/a.png" }, { ":-", "/b.png" }, { ":-)", "/c.png" } };
const Mapping longCodeOnly = { { ":-)", "/c.png" } };
const Mapping hearts = { { "<3", "/h.png" }, { "&lt;3", "/h.png" } };

// The scan written down step by step, character by character, without any shortcut: the library's
// faster walk must give exactly the same text for any input.
class ReferenceScan
{
public:
    ReferenceScan(const Node *root, const QString &lineBreak)
        : m_root(root)
        , m_lineBreak(lineBreak)
    { }

    QString run(const QString &text)
    {
        QString result;
        int pos = 0;
        while (wordStep(result, text, pos))
            codeStep(result, text, pos);
        return result;
    }

private:
    static bool isSeparator(QChar c)
    {
        return c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    }
    static bool isUnicodeBreak(QChar c) { return c.unicode() == 0x2028 || c.unicode() == 0x2029; }

    void emitSeparator(QString &result, QChar c)
    {
        result += c == QLatin1Char(' ') ? QStringLiteral(" ") : m_lineBreak;
    }

    bool wordStep(QString &result, const QString &text, int &pos)
    {
        if (pos != 0) {
            if (pos >= text.size())
                return false;
            while (true) {
                const QChar c = text.at(pos);
                if (isSeparator(c)) {
                    emitSeparator(result, c);
                    ++pos;
                    break;
                }
                result += c;
                ++pos;
                if (pos == text.size())
                    return false;
            }
        }
        while (true) {
            if (pos >= text.size())
                return false;
            if (!isSeparator(text.at(pos)))
                return true;
            emitSeparator(result, text.at(pos));
            ++pos;
        }
    }

    void codeStep(QString &result, const QString &text, int &pos)
    {
        const Node *node = m_root;
        int start = pos;
        QString pendingTag;
        bool matched = false;
        int matchEnd = 0;
        while (pos < text.size()) {
            const QChar c = text.at(pos);
            if (node->children.contains(c)) {
                const Node *child = node->children.value(c);
                node = child;
                if (!child->filePath.isEmpty()) {
                    pendingTag = img(child->filePath);
                    ++pos;
                    if (!child->children.isEmpty()) {
                        matched = true;
                        start = matchEnd = pos;
                    } else {
                        result += pendingTag;
                        node = m_root;
                        start = pos;
                        matched = false;
                    }
                } else {
                    ++pos;
                }
            } else if (matched) {
                result += pendingTag;
                matched = false;
                pos = matchEnd;
                node = m_root;
            } else {
                for (int i = start; i <= pos; ++i) {
                    const QChar x = text.at(i);
                    if (isUnicodeBreak(x)
                        || (isSeparator(x) && (x != QLatin1Char(' ') || i == pos)))
                        continue;
                    result += x;
                }
                if (!isSeparator(c))
                    ++pos;
                return;
            }
        }
        if (matched)
            result += pendingTag;
        for (int i = start; i < text.size(); ++i)
            if (!isUnicodeBreak(text.at(i)))
                result += text.at(i);
    }

    const Node *m_root;
    QString m_lineBreak;
};

// Every node's path from the root: each must be a prefix of a code, each prefix reached once,
// and the codes the tree ends in are the mapping's (a code without image ends in none).
bool holdsExactlyTheCodes(const Node *root, const Mapping &mapping)
{
    QSet<QString> prefixes { QString() };
    Mapping ends;
    for (auto it = mapping.cbegin(); it != mapping.cend(); ++it) {
        for (int n = 1; n <= it.key().size(); ++n)
            prefixes.insert(it.key().left(n));
        if (!it.value().isEmpty())
            ends.insert(it.key(), it.value());
    }
    QSet<QString> reached;
    Mapping found;
    QList<std::pair<const Node *, QString>> pending { { root, QString() } };
    while (!pending.isEmpty()) {
        const auto [node, path] = pending.takeLast();
        if (reached.contains(path) || !prefixes.contains(path))
            return false;
        reached.insert(path);
        if (!node->filePath.isEmpty()) {
            if (node->characterCodeSequence != path)
                return false;
            found.insert(path, node->filePath);
        }
        for (auto it = node->children.cbegin(); it != node->children.cend(); ++it) {
            if (it.value()->character != it.key())
                return false;
            pending.append({ it.value(), path + it.key() });
        }
    }
    return reached == prefixes && found == ends;
}

} // namespace

class PlainTextToHtmlTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scan_data()
    {
        QTest::addColumn<Mapping>("mapping");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        const QString a = img("/a.png");
        const QString b = img("/b.png");
        const auto row
            = [](const char *name, const Mapping &m, const QString &text, const QString &html) {
                  QTest::newRow(name) << m << text << html;
              };
        // Cases the step-by-step scan below does not reach: no tree, paths that need escaping.
        row("CR LF gives two breaks, codes around", threeCodes, ":)\r\n:)", a + "<br><br>" + a);
        row("U+2028 at a word start is dropped", threeCodes, "\u2028:)", ":)");
        row("U+2028 ends a held code", threeCodes, ":-\u2028", b);
        row("empty tree", Mapping(), ":) x\ny", ":) x<br>y");
        row("path cannot leave the attribute",
            Mapping { { ":)", "/x' onerror='alert(1)\"<b>&.png" } }, ":)",
            "<img src='/x&#39; onerror=&#39;alert(1)&quot;&lt;b&gt;&amp;.png'  width='20' "
            "height='20'>");
    }

    void scan()
    {
        QFETCH(Mapping, mapping);
        QFETCH(QString, text);
        emoSequenceSearchTree tree(mapping);
        for (int ignored : { 0, -1, 12345 })
            QTEST(tree.performPlainText2HTMLReplacement(text, ignored, "<br>"), "html");
    }

    void matchesTheStepByStepScan_data()
    {
        QTest::addColumn<Mapping>("mapping");
        QTest::newRow("three codes") << threeCodes;
        QTest::newRow("long code only") << longCodeOnly;
        QTest::newRow("hearts") << hearts;
        QTest::newRow("nested and odd codes") << Mapping { { ":", "/colon" }, { ":-))", "/d" },
            { ":- ", "/space" }, { ")\n)", "/nl" }, { "\u2028:", "/ls" }, { "a", "/a" },
            { "&lt;3", "/h" }, { " x ", "" } };
        // Past the flat layout's edges: more children than it reads one by one, characters above
        // U+00FF first and later, surrogate pairs sharing their first half.
        Mapping wide { { "\U0001F600", "/grin" }, { "\U0001F601", "/beam" },
            { "\U0001F600\U0001F601", "/both" }, { "\u65e5", "/sun" }, { "\u65e5\u672c", "/jp" },
            { "\u00ff:", "/y" }, { "\u0100", "/a" }, { ":\u00e9", "/e" } };
        for (const char c : QByteArray("abcdefghij"))
            wide.insert(QStringLiteral(":") + QLatin1Char(c), QStringLiteral("/") + QLatin1Char(c));
        QTest::newRow("wide characters, many children") << wide;
    }

    void matchesTheStepByStepScan()
    {
        QFETCH(Mapping, mapping);
        emoSequenceSearchTreePrivate tree(mapping);
        QVERIFY(holdsExactlyTheCodes(tree.rootNode, mapping));
        ReferenceScan reference(tree.rootNode, "<br>");
        const QString alphabet = QStringLiteral(
            ":-)(ab <3&lt;\n\r\t\u2028\u2029\u00e9cj\u00ff\u0100\u65e5\u672c\U0001F600\U0001F601");
        QRandomGenerator random(20261206);
        for (int round = 0; round < 20000; ++round) {
            QString text;
            // Short texts reach every branch; longer ones cross 64-character words and blocks.
            const int length = int(random.bounded(round % 4 == 0 ? 300
                    : round % 4 == 1                             ? 140
                                                                 : 24));
            for (int i = 0; i < length; ++i)
                text += alphabet.at(int(random.bounded(alphabet.size())));
            const QString actual = tree.performPlainText2HTMLReplacement(text, 0, "<br>");
            QVERIFY2(actual == reference.run(text), text.toUtf8().toPercentEncoding().constData());
        }
    }

    // Thousands of codes and one code far deeper than any call stack could recurse.
    void bigTreesAreBuiltAndReleasedSafely()
    {
        Mapping mapping;
        for (int i = 0; i < 5000; ++i)
            mapping.insert(QString::number(i * 7919, 36), "/i.png");
        const QString deep(300000, 'x');
        auto *tree = new emoSequenceSearchTreePrivate(mapping);
        QVERIFY(holdsExactlyTheCodes(tree->rootNode, mapping));
        delete tree;
        mapping.insert(deep, "/deep.png");
        delete new emoSequenceSearchTreePrivate(mapping);
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(PlainTextToHtmlTest)
#include "plaintexttohtmltest.moc"
