// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Message text to HTML, raw and escaped first, with the built-in theme or with a tree of codes
// that nest, overlap, hold markup and name paths that need escaping; and with a tree of Unicode
// emoji, whose images must never begin or end inside a grapheme.
#include "emojigraphemes_p.h"
#include "emojitree.h"
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"
#include "emoticonthemefactory.h"
#include "fuzzsupport.h"

#include <QHash>
#include <QSet>

namespace {

struct Fixture
{
    EmoticonTheme builtIn;
    QHash<QString, QString> hostileCodes;
    emoSequenceSearchTree *hostile = nullptr;
    GlyphmorphTest::EmojiTree *emoji = nullptr;
};
Fixture *fixture = nullptr;

// The tag the scan writes for an image: the path escaped for its single-quoted attribute.
QString imageTag(const QString &path)
{
    QString escaped = path.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return QStringLiteral("<img src='") + escaped + QStringLiteral("'  width='20' height='20'>");
}

// Escaped text must come out as HTML whose only markup is the scan's own: nothing in a message
// may open or close a tag.
void checkOnlyOwnMarkup(QString html, const QHash<QString, QString> &codes,
    const QString &lineBreak, const QString &text)
{
    const QList<QString> paths = codes.values();
    for (const QString &path : QSet<QString>(paths.begin(), paths.end()))
        html.remove(imageTag(path));
    html.remove(lineBreak);
    GLYPHMORPH_FUZZ_CHECK(!html.contains(QLatin1Char('<')) && !html.contains(QLatin1Char('>')),
        text + QStringLiteral("\n->\n") + html);
}

// Every image of the emoji tree spans whole graphemes. Line ends stay one character each and no
// character is left out, so that positions in the HTML map back to the text.
void checkWholeGraphemes(QString text)
{
    text.remove(QChar::LineSeparator)
        .remove(QChar::ParagraphSeparator)
        .replace(QLatin1Char('<'), QLatin1Char(' '));
    const QVector<int> ends = EmojiGraphemes::ends(text);
    const auto isEnd = [&](int at) {
        return at == 0 || ends.contains(at);
    };
    const QString html = fixture->emoji->html(text, {}, QStringLiteral("\n"));
    for (const auto &image : GlyphmorphTest::imagesOf(html))
        GLYPHMORPH_FUZZ_CHECK(isEnd(image.first) && isEnd(image.first + int(image.second.size())),
            text + QStringLiteral("\n->\n") + html);
}

bool mayChange(const QString &text, const QHash<QString, QString> &codes)
{
    QSet<QChar> firsts
        = { QLatin1Char('\n'), QLatin1Char('\r'), QChar::LineSeparator, QChar::ParagraphSeparator };
    for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
        if (!it.key().isEmpty())
            firsts.insert(it.key().at(0));
    }
    for (const QChar c : text) {
        if (firsts.contains(c))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    GlyphmorphFuzz::isolate();
    GlyphmorphFuzz::startApplication();
    fixture = new Fixture;
    fixture->builtIn = EmoticonThemeFactory::defaultEmoticonTheme();
    if (!fixture->builtIn.characterCodeSequenceSearchTree())
        GlyphmorphFuzz::fail("no built-in theme", QString());
    const QString path = QStringLiteral("/images/");
    fixture->hostileCodes = {
        { QStringLiteral(":"), path + QStringLiteral("colon.png") },
        { QStringLiteral(":-"), path + QStringLiteral("a'b.png") },
        { QStringLiteral(":-)"), path + QStringLiteral("<x> & \"y\".png") },
        { QStringLiteral(":-))"), path + QStringLiteral("double.png") },
        { QStringLiteral("a"), path + QStringLiteral("a.png") },
        { QStringLiteral("aaa"), path + QStringLiteral("aaa.png") },
        { QStringLiteral("<3"), path + QStringLiteral("heart.png") },
        { QStringLiteral("&lt;3"), path + QStringLiteral("heart.png") },
        { QStringLiteral("&"), path + QStringLiteral("amp.png") },
        { QStringLiteral("&amp;"), path + QStringLiteral("amp.png") },
        { QStringLiteral("\u00e9\u00e9"), path + QStringLiteral("e.png") },
        { QStringLiteral("\U0001F600"), path + QStringLiteral("grin.png") },
        { QStringLiteral("\U0001F600\U0001F600x"), path + QStringLiteral("grins.png") },
        { QStringLiteral("x\u2028y"), path + QStringLiteral("ls.png") },
        { QStringLiteral("(y)"), QString() },
    };
    fixture->hostile = new emoSequenceSearchTree(fixture->hostileCodes);
    fixture->emoji = new GlyphmorphTest::EmojiTree;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    GlyphmorphFuzz::Input input(data, size);
    const uint8_t flags = input.byte();
    const bool builtIn = flags & 1;
    const QString lineBreaks[]
        = { QStringLiteral("<br>"), QStringLiteral("\n"), QString(), QStringLiteral("<br>\r\n") };
    const QString lineBreak = lineBreaks[(flags >> 2) % 4];
    QString text;
    if (flags & 2) {
        // UTF-16 as it comes, lone surrogates and all.
        while (!input.atEnd()) {
            const char16_t low = input.byte();
            text += QChar(char16_t(low | input.byte() << 8));
        }
    } else {
        text = input.rest();
    }

    emoSequenceSearchTree *tree
        = builtIn ? fixture->builtIn.characterCodeSequenceSearchTree() : fixture->hostile;
    const QHash<QString, QString> &codes
        = builtIn ? fixture->builtIn.codeSequenceToFilepathMapping() : fixture->hostileCodes;

    if (flags & 64) {
        checkWholeGraphemes(text);
        return 0;
    }
    const QString raw = tree->performPlainText2HTMLReplacement(text, 0, lineBreak);
    // Every engine that can run here against the long-text scan, which takes any text.
    {
        using Path = emoSequenceSearchTreePrivate::PlainTextPath;
        emoSequenceSearchTreePrivate *engines = emoSequenceSearchTreePrivate::get(tree);
        ConversionOptions options;
        options.roundTrip = flags & 16;
        options.strictCodeEnds = flags & 32;
        engines->pinnedPath = Path::LongTextScan;
        const QString general = engines->performPlainText2HTMLReplacement(text, lineBreak, options);
        for (const Path path : { Path::MessagePath, Path::MessagePathAvx512, Path::EmojiScan }) {
            engines->pinnedPath = path;
            const QString html
                = engines->performPlainText2HTMLReplacement(text, lineBreak, options);
            GLYPHMORPH_FUZZ_CHECK(html == general,
                text + QStringLiteral("\nlong-text scan:\n") + general
                    + QStringLiteral("\npinned engine (") + QString::number(int(path))
                    + QStringLiteral("):\n") + html);
        }
        engines->pinnedPath = Path::Picked;
        if (options.isDefault())
            GLYPHMORPH_FUZZ_CHECK(general == raw, text + QStringLiteral("\n->\n") + raw);
    }
    if (!mayChange(text, codes))
        GLYPHMORPH_FUZZ_CHECK(raw == text, text + QStringLiteral("\n->\n") + raw);

    const QString escaped = text.toHtmlEscaped();
    const QString html = tree->performPlainText2HTMLReplacement(escaped, 0, QStringLiteral("<br>"));
    checkOnlyOwnMarkup(html, codes, QStringLiteral("<br>"), escaped);
    return 0;
}
