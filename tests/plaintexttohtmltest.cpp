// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"
#include "testenvironment.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>

#include <memory>
#include <vector>

using Mapping = QHash<QString, QString>;
using Path = emoSequenceSearchTreePrivate::PlainTextPath;

namespace {

QString img(const QString &path)
{
    QString escaped = path.toHtmlEscaped();
    escaped.replace('\'', "&#39;");
    return "<img src='" + escaped + "'  width='20' height='20'>";
}

// The scan written down step by step, character by character, over the codes themselves rather
// than a tree: the library's faster walk must give exactly the same text for any input.
class ReferenceScan
{
public:
    ReferenceScan(const Mapping &codes, const QString &lineBreak)
        : m_codes(codes)
        , m_lineBreak(lineBreak)
    {
        for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
            for (int n = 1; n <= it.key().size(); ++n) {
                m_prefixes.insert(it.key().left(n));
                if (n < it.key().size())
                    m_parents.insert(it.key().left(n));
            }
        }
    }

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

    // The rest of the word the code step stopped in, as it stands, then the separators.
    bool wordStep(QString &result, const QString &text, int &pos)
    {
        while (pos != 0 && pos < text.size() && !isSeparator(text.at(pos)))
            result += text.at(pos++);
        for (; pos < text.size() && isSeparator(text.at(pos)); ++pos)
            result += text.at(pos) == QLatin1Char(' ') ? QStringLiteral(" ") : m_lineBreak;
        return pos < text.size();
    }

    void codeStep(QString &result, const QString &text, int &pos)
    {
        QString node; // the code read so far; the root is empty
        int start = pos; // the first character not written yet
        QString pendingTag; // of the code read last, when longer codes go on from it
        while (pos < text.size()) {
            const QChar c = text.at(pos);
            if (m_prefixes.contains(node + c)) {
                node += c;
                ++pos;
                if (m_codes.value(node).isEmpty())
                    continue;
                pendingTag = img(m_codes.value(node));
                start = pos;
                if (m_parents.contains(node))
                    continue;
            } else if (pendingTag.isEmpty()) {
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
            } else {
                pos = start; // the longer code failed: on after the shorter one
            }
            result += pendingTag;
            pendingTag.clear();
            node.clear();
        }
        result += pendingTag;
        for (int i = start; i < text.size(); ++i)
            if (!isUnicodeBreak(text.at(i)))
                result += text.at(i);
    }

    Mapping m_codes;
    QSet<QString> m_prefixes;
    QSet<QString> m_parents; // prefixes that longer codes go on from
    QString m_lineBreak;
};

// The tree of @p mapping once for each engine of @p paths.
std::vector<std::unique_ptr<emoSequenceSearchTreePrivate>> engines(
    const Mapping &mapping, std::initializer_list<Path> paths)
{
    std::vector<std::unique_ptr<emoSequenceSearchTreePrivate>> trees;
    for (const Path path : paths) {
        trees.push_back(std::make_unique<emoSequenceSearchTreePrivate>(mapping));
        trees.back()->pinnedPath = path;
    }
    return trees;
}

QString randomText(QRandomGenerator &random, const QString &alphabet, int maxLength)
{
    QString text;
    for (int length = int(random.bounded(maxLength)); length > 0; --length)
        text += alphabet.at(int(random.bounded(alphabet.size())));
    return text;
}

} // namespace

class PlainTextToHtmlTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The one case the step-by-step scan below cannot judge: it writes its tags the same way.
    void pathCannotLeaveTheAttribute()
    {
        emoSequenceSearchTree tree({ { ":)", "/x' onerror='alert(1)\"<b>&.png" } });
        for (int ignored : { 0, -1, 12345 })
            QCOMPARE(tree.performPlainText2HTMLReplacement(":)", ignored, "<br>"),
                "<img src='/x&#39; onerror=&#39;alert(1)&quot;&lt;b&gt;&amp;.png'  width='20' "
                "height='20'>");
    }

    void matchesTheStepByStepScan_data()
    {
        QTest::addColumn<Mapping>("mapping");
        QTest::newRow("no codes") << Mapping();
        QTest::newRow("three codes")
            << Mapping { { ":)", "/a.png" }, { ":-", "/b.png" }, { ":-)", "/c.png" } };
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
        // Words of up to eight characters, some sharing all but their last.
        Mapping words { { "abcdefg", "/7" }, { "abcdefgh", "/8" }, { "abcdef", "/6" },
            { "b", "/1" }, { "&gt;-)", "/g" }, { "&gt;-(", "/h" }, { "&gt;", "/i" } };
        for (const char c : QByteArray("0123456789"))
            words.insert(QStringLiteral("&#39;") + QLatin1Char(c), QStringLiteral("/q"));
        QTest::newRow("whole words") << words;
        // A code that cannot be replaced may still hold a separator, and so carry a walk past
        // the end of a word: "8" in ":) 8" is then read as part of " 8", not as a code.
        QTest::newRow("empty-path key holding a separator")
            << Mapping { { ":)", "/a" }, { " ", "" }, { "8", "/c" } };
    }

    void matchesTheStepByStepScan()
    {
        QFETCH(Mapping, mapping);
        // The engine that would be picked, and each engine pinned wherever it can run.
        const auto trees = engines(mapping,
            { Path::Picked, Path::LongTextScan, Path::MessagePath, Path::MessagePathAvx512,
                Path::EmojiScan });
        ReferenceScan reference(mapping, "<br>");
        const QString alphabet = QStringLiteral(
            ":-)(ab <3&lt;\n\r\t\u2028\u2029\u00e9cj\u00ff\u0100\u65e5\u672c\U0001F600\U0001F601");
        // Half of the texts are one line, as most messages are.
        QString oneLine = alphabet;
        oneLine.remove(QRegularExpression(QStringLiteral("[\\n\\r\u2028\u2029]")));
        QStringList texts;
        QRandomGenerator random(20261206);
        // Short texts reach every branch; longer ones cross 64-character words and blocks.
        const int maxLengths[] = { 300, 140, 24, 24 };
        for (int round = 0; round < 20000; ++round)
            texts
                += randomText(random, (round / 4) % 2 ? oneLine : alphabet, maxLengths[round % 4]);
        // Each code across the 64-character steps in which messages are read, and as the whole
        // of a message, or its start, or less; each pair of codes one space apart.
        const QStringList codes = mapping.keys();
        for (const QString &code : codes) {
            for (int at = 58; at <= 66; ++at)
                texts += QString(at - 1, 'x') + ' ' + code + " x";
            texts += { code, code + 'x', "x " + code.chopped(1) };
            for (const QString &next : codes)
                texts += code + ' ' + next;
        }
        for (const QString &text : qAsConst(texts)) {
            const QString expected = reference.run(text);
            for (const auto &tree : trees)
                QVERIFY2(tree->performPlainText2HTMLReplacement(text, "<br>") == expected,
                    text.toUtf8().toPercentEncoding().constData());
        }
    }

    // Options go through the same code step on both engines: they must agree on any text.
    void enginesAgreeWithOptions()
    {
        const auto trees = engines({ { ":)", "/a" }, { ":-", "/b" }, { ":-)", "/c" },
                                       { ":D", "/d" }, { "<3", "/h" }, { "&lt;3", "/h" } },
            { Path::LongTextScan, Path::MessagePath, Path::EmojiScan });
        QRandomGenerator random(20261207);
        for (int round = 0; round < 4000; ++round) {
            const QString text = randomText(random, QStringLiteral(":-)D<3&lt;x2\u00e9 '\""), 40);
            for (const ConversionOptions options : { ConversionOptions { true, false },
                     ConversionOptions { false, true }, ConversionOptions { true, true } }) {
                const QString expected
                    = trees[0]->performPlainText2HTMLReplacement(text, "<br>", options);
                for (const auto &tree : trees)
                    QVERIFY2(
                        tree->performPlainText2HTMLReplacement(text, "<br>", options) == expected,
                        qPrintable(text));
            }
        }
    }

    // Thousands of codes, each found, and one code far deeper than any call stack could recurse.
    void bigTreesAreBuiltAndReleasedSafely()
    {
        Mapping mapping;
        for (int i = 0; i < 5000; ++i)
            mapping.insert(QString::number(i * 7919, 36), "/i.png");
        const QString text = QStringList(mapping.keys()).join(' ');
        QCOMPARE(emoSequenceSearchTree(mapping).performPlainText2HTMLReplacement(text, 0, "<br>"),
            ReferenceScan(mapping, "<br>").run(text));
        mapping.insert(QString(300000, 'x'), "/deep.png");
        delete new emoSequenceSearchTree(mapping);
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(PlainTextToHtmlTest)
#include "plaintexttohtmltest.moc"
