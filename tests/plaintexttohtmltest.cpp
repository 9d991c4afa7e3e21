// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"
#include "testenvironment.h"

#include <QRandomGenerator>

using Node = emoSequenceSearchTreePrivate::emoNode;
using Mapping = QHash<QString, QString>;

namespace {

QString img(const QString &path)
{
    QString escaped = path.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return QLatin1String("<img src='") + escaped + QLatin1String("'  width='20' height='20'>");
}

const Mapping threeCodes = { { QStringLiteral(":)"), QStringLiteral("/a.png") },
    { QStringLiteral(":-"), QStringLiteral("/b.png") },
    { QStringLiteral(":-)"), QStringLiteral("/c.png") } };
const Mapping longCodeOnly = { { QStringLiteral(":-)"), QStringLiteral("/c.png") } };
const Mapping hearts = { { QStringLiteral("<3"), QStringLiteral("/h.png") },
    { QStringLiteral("&lt;3"), QStringLiteral("/h.png") } };

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
        const QString a = img(QStringLiteral("/a.png"));
        const QString b = img(QStringLiteral("/b.png"));
        const QString c = img(QStringLiteral("/c.png"));
        const QString h = img(QStringLiteral("/h.png"));
        auto row
            = [](const char *name, const Mapping &m, const QString &text, const QString &html) {
                  QTest::newRow(name) << m << text << html;
              };
        row("empty", threeCodes, QString(), QString());
        row("no codes", threeCodes, QStringLiteral("hello, world"), QStringLiteral("hello, world"));
        row("line feed and carriage return", threeCodes, QStringLiteral("a\nb\rc"),
            QStringLiteral("a<br>b<br>c"));
        row("CR LF gives two breaks", threeCodes, QStringLiteral("a\r\nb"),
            QStringLiteral("a<br><br>b"));
        row("code alone", threeCodes, QStringLiteral(":)"), a);
        row("code at start and end", threeCodes, QStringLiteral(":) hi :)"),
            a + QStringLiteral(" hi ") + a);
        row("one space each side", threeCodes, QStringLiteral("word :) other"),
            QStringLiteral("word ") + a + QStringLiteral(" other"));
        row("longest match", threeCodes, QStringLiteral(":-)"), c);
        row("shorter code then letter", threeCodes, QStringLiteral(":-x"), b + QStringLiteral("x"));
        row("shorter code then space", threeCodes, QStringLiteral(":- x"),
            b + QStringLiteral(" x"));
        row("shorter code at end", threeCodes, QStringLiteral("so :-"), QStringLiteral("so ") + b);
        row("incomplete code stays", longCodeOnly, QStringLiteral(":- x"), QStringLiteral(":- x"));
        row("incomplete code before line end", longCodeOnly, QStringLiteral(":-\nx"),
            QStringLiteral(":-<br>x"));
        row("chain of codes", threeCodes, QStringLiteral(":):)"), a + a);
        row("chain then text", threeCodes, QStringLiteral(":):-)x:)"),
            a + c + QStringLiteral("x:)"));
        row("code inside a word", threeCodes, QStringLiteral("x:)"), QStringLiteral("x:)"));
        row("two spaces and leading space", threeCodes, QStringLiteral(" a  b"),
            QStringLiteral(" a  b"));
        row("HTML passes through", threeCodes, QStringLiteral("<b>bold</b> :)"),
            QStringLiteral("<b>bold</b> ") + a);
        row("tab is a word character", threeCodes, QStringLiteral("\t:)"), QStringLiteral("\t:)"));
        row("codes around line breaks", threeCodes, QStringLiteral(":)\r\n:)"),
            a + QStringLiteral("<br><br>") + a);
        row("U+2028 inside a word is kept", threeCodes, QStringLiteral("a\u2028b"),
            QStringLiteral("a\u2028b"));
        row("U+2028 at a word start is dropped", threeCodes, QStringLiteral("\u2028:)"),
            QStringLiteral(":)"));
        row("U+2029 after a code is dropped", threeCodes, QStringLiteral(":)\u2029x"),
            a + QStringLiteral("x"));
        row("U+2028 ends a held code", threeCodes, QStringLiteral(":-\u2028"), b);
        row("heart plain", hearts, QStringLiteral("I <3 you"),
            QStringLiteral("I ") + h + QStringLiteral(" you"));
        row("heart escaped", hearts, QStringLiteral("I &lt;3 you"),
            QStringLiteral("I ") + h + QStringLiteral(" you"));
        row("escaped text without code", hearts, QStringLiteral("&lt;b&gt;"),
            QStringLiteral("&lt;b&gt;"));
        row("empty tree", Mapping(), QStringLiteral(":) x\ny"), QStringLiteral(":) x<br>y"));
        const QString hostile = QStringLiteral("/x' onerror='alert(1)\"<b>&.png");
        row("path cannot leave the attribute", Mapping { { QStringLiteral(":)"), hostile } },
            QStringLiteral(":)"),
            QStringLiteral("<img src='/x&#39; onerror=&#39;alert(1)&quot;&lt;b&gt;&amp;.png'  "
                           "width='20' height='20'>"));
    }

    void scan()
    {
        QFETCH(Mapping, mapping);
        QFETCH(QString, text);
        QFETCH(QString, html);
        emoSequenceSearchTree tree(mapping);
        for (int ignored : { 0, -1, 12345 })
            QCOMPARE(
                tree.performPlainText2HTMLReplacement(text, ignored, QStringLiteral("<br>")), html);
    }

    void matchesTheStepByStepScan_data()
    {
        QTest::addColumn<Mapping>("mapping");
        QTest::newRow("three codes") << threeCodes;
        QTest::newRow("long code only") << longCodeOnly;
        QTest::newRow("hearts") << hearts;
        QTest::newRow("nested and odd codes")
            << Mapping { { QStringLiteral(":"), QStringLiteral("/colon") },
                   { QStringLiteral(":-))"), QStringLiteral("/d") },
                   { QStringLiteral(":- "), QStringLiteral("/space") },
                   { QStringLiteral(")\n)"), QStringLiteral("/nl") },
                   { QStringLiteral("\u2028:"), QStringLiteral("/ls") },
                   { QStringLiteral("a"), QStringLiteral("/a") },
                   { QStringLiteral("&lt;3"), QStringLiteral("/h") } };
    }

    void matchesTheStepByStepScan()
    {
        QFETCH(Mapping, mapping);
        emoSequenceSearchTreePrivate tree(mapping);
        ReferenceScan reference(tree.rootNode, QStringLiteral("<br>"));
        const QString alphabet = QStringLiteral(":-)(ab <3&lt;\n\r\t\u2028\u2029\u00e9");
        QRandomGenerator random(20261206);
        for (int round = 0; round < 20000; ++round) {
            QString text;
            // Short texts reach every branch; long ones cross the scan's 64-character blocks.
            const int length = int(random.bounded(round % 4 == 0 ? 300 : 24));
            for (int i = 0; i < length; ++i)
                text += alphabet.at(int(random.bounded(alphabet.size())));
            const QString actual
                = tree.performPlainText2HTMLReplacement(text, 0, QStringLiteral("<br>"));
            QVERIFY2(actual == reference.run(text), text.toUtf8().toPercentEncoding().constData());
        }
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(PlainTextToHtmlTest)
#include "plaintexttohtmltest.moc"
