// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Plain text to HTML one chat message at a time, as applications call it, against copying each
// message into a new string and, where it is installed, against KDE's KEmoticons on the same codes.
#include "benchmain.h"
#include "chatcorpus.h"

#include <emosequencesearchtree.h>
#include <emosequencesearchtree_p.h>
#include <emoticontheme.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#ifdef GLYPHMORPH_BENCH_KEMOTICONS
#include <KEmoticons>
#include <KEmoticonsTheme>
#endif

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString account = QStringLiteral("/org/freedesktop/Telepathy/Account/gabble/jabber/me0");
const QString lineBreak = QStringLiteral("<br>");

// The chat text's lines, escaped as applications escape a message before converting it.
const QStringList &messages()
{
    static const QStringList lines = [] {
        QStringList escaped;
        const QString text = GlyphmorphBench::chatCorpus(2 * 1024 * 1024);
        for (const QString &line : text.split(QRegularExpression(QStringLiteral("\r?\n"))))
            if (!line.isEmpty())
                escaped += line.toHtmlEscaped();
        return escaped;
    }();
    return lines;
}

int64_t messageBytes()
{
    static const int64_t bytes = [] {
        int64_t sum = 0;
        for (const QString &message : messages())
            sum += message.toUtf8().size();
        return sum;
    }();
    return bytes;
}

void count(benchmark::State &state)
{
    state.SetBytesProcessed(state.iterations() * messageBytes());
    state.counters["messages"] = double(messages().size());
}

void BaselineCopyPerMessage(benchmark::State &state)
{
    for (auto _ : state) {
        for (const QString &message : messages()) {
            QString copy(message.constData(), message.size());
            benchmark::DoNotOptimize(copy.constData());
        }
    }
    count(state);
}

Glyphmorpher *morpher()
{
    if (!Glyphmorpher::m_pInstance)
        Glyphmorpher::m_pInstance = new Glyphmorpher;
    return Glyphmorpher::m_pInstance;
}

// What an application calls: the account's theme looked up, then its tree's scan.
void GlyphmorpherPerMessage(benchmark::State &state)
{
    Glyphmorpher *glyphmorpher = morpher();
    for (auto _ : state) {
        for (const QString &message : messages()) {
            QString html = glyphmorpher->transformPlainTextToHTML(message, account, 0, lineBreak);
            benchmark::DoNotOptimize(html.constData());
        }
    }
    count(state);
}

using Engine = emoSequenceSearchTreePrivate::PlainTextPath;

// The scan alone, with the tree of the same (built-in) theme: the engine picked for each message,
// or one engine pinned, to show what the other is worth.
void TreePerMessage(benchmark::State &state, Engine engine)
{
    const EmoticonTheme theme = EmoticonThemeManager::m_pInstance
        ? EmoticonThemeManager::m_pInstance->themeForAccountPath(account)
        : EmoticonTheme();
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    if (!tree) {
        state.SkipWithError("no theme");
        return;
    }
    emoSequenceSearchTreePrivate::get(tree)->pinnedPath = engine;
    for (auto _ : state) {
        for (const QString &message : messages()) {
            QString html = tree->performPlainText2HTMLReplacement(message, 0, lineBreak);
            benchmark::DoNotOptimize(html.constData());
        }
    }
    emoSequenceSearchTreePrivate::get(tree)->pinnedPath = Engine::Picked;
    count(state);
}

// The same with the Emoji theme's tree: emoji at every grapheme boundary, shortcodes at word
// starts.
void EmojiThemePerMessage(benchmark::State &state)
{
    const QString emojiThemeUUID = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");
    const EmoticonTheme theme = EmoticonThemeManager::m_pInstance
        ? EmoticonThemeManager::m_pInstance->emoticonThemes().value(emojiThemeUUID)
        : EmoticonTheme();
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    if (!tree) {
        state.SkipWithError("no Emoji theme: no colour emoji font");
        return;
    }
    for (auto _ : state) {
        for (const QString &message : messages()) {
            QString html = tree->performPlainText2HTMLReplacement(message, 0, lineBreak);
            benchmark::DoNotOptimize(html.constData());
        }
    }
    count(state);
}

// Emoticon HTML back to plain text, one message at a time: tags that keep their code in alt.
void HtmlToPlainPerMessage(benchmark::State &state)
{
    static const QStringList html = [] {
        const QStringList codes = GlyphmorphBench::builtinCodes();
        QHash<QString, QString> mapping;
        for (const QString &code : codes)
            mapping.insert(code.toHtmlEscaped(), QStringLiteral("/img/%1.png").arg(code.size()));
        emoSequenceSearchTree tree(mapping);
        QStringList converted;
        for (const QString &message : messages()) {
            QString out = tree.performPlainText2HTMLReplacement(message, 0, lineBreak);
            out.replace(QLatin1String("'  width="), QLatin1String("' alt=':)' width="));
            converted += out;
        }
        return converted;
    }();
    Glyphmorpher *glyphmorpher = morpher();
    for (auto _ : state) {
        for (const QString &message : html) {
            QString plain = glyphmorpher->transformHTMLToPlainText(message);
            benchmark::DoNotOptimize(plain.constData());
        }
    }
    count(state);
}

#ifdef GLYPHMORPH_BENCH_KEMOTICONS
const char kdeThemeName[] = "GlyphmorphBench";

// A KDE-format theme (emoticons.xml and images) with the built-in theme's codes, in the data
// directory that main points XDG_DATA_HOME to.
bool writeKdeTheme(const QString &dataHome)
{
    QDir directory(dataHome);
    const QString themeDirectory = QStringLiteral("emoticons/") + QLatin1String(kdeThemeName);
    if (!directory.mkpath(themeDirectory) || !directory.cd(themeDirectory))
        return false;
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::yellow);
    QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<messaging-emoticon-map>\n");
    // One image per code: KEmoticons keeps codes of one file together, which changes nothing here.
    const QStringList codes = GlyphmorphBench::builtinCodes();
    for (int i = 0; i < codes.size(); ++i) {
        const QString name = QStringLiteral("e%1").arg(i);
        if (!image.save(directory.filePath(name + QStringLiteral(".png")), "PNG"))
            return false;
        xml += QStringLiteral("<emoticon file=\"%1\"><string>%2</string></emoticon>\n")
                   .arg(name, codes.at(i).toHtmlEscaped());
    }
    xml += QStringLiteral("</messaging-emoticon-map>\n");
    QFile file(directory.filePath(QStringLiteral("emoticons.xml")));
    return file.open(QIODevice::WriteOnly) && file.write(xml.toUtf8()) > 0;
}

// /0 as applications call it, in the parse mode the user configured (relaxed when none is), and
// /1 in strict mode, which reads fewer codes and is faster.
void KEmoticonsPerMessage(benchmark::State &state)
{
    KEmoticons emoticons;
    const KEmoticonsTheme theme = emoticons.theme(QLatin1String(kdeThemeName));
    // Without codes replaced the comparison would be void.
    const QString probe = theme.parseEmoticons(QStringLiteral("ok :) and &lt;3"));
    if (probe.count(QStringLiteral("<img")) != 2) {
        state.SkipWithError("KEmoticons replaced no codes in the theme written for it");
        return;
    }
    for (auto _ : state) {
        for (const QString &message : messages()) {
            QString html
                = theme.parseEmoticons(message, KEmoticonsTheme::ParseMode(int(state.range(0))));
            benchmark::DoNotOptimize(html.constData());
        }
    }
    count(state);
}
#endif

} // namespace

BENCHMARK(BaselineCopyPerMessage)->Unit(benchmark::kMillisecond);
BENCHMARK(GlyphmorpherPerMessage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TreePerMessage, picked, Engine::Picked)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TreePerMessage, messagePathWithoutAvx512, Engine::MessagePath)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TreePerMessage, longTextScanOnly, Engine::LongTextScan)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(EmojiThemePerMessage)->Unit(benchmark::kMillisecond);
BENCHMARK(HtmlToPlainPerMessage)->Unit(benchmark::kMillisecond);
#ifdef GLYPHMORPH_BENCH_KEMOTICONS
BENCHMARK(KEmoticonsPerMessage)
    ->Arg(KEmoticonsTheme::DefaultParse)
    ->Arg(KEmoticonsTheme::StrictParse)
    ->Unit(benchmark::kMillisecond);
#endif

int main(int argc, char **argv)
{
    // A home, settings, an empty themes root and a data directory of this run's own: the built-in
    // theme is the one every account gets.
    QTemporaryDir home;
    const QString dataHome = QDir(home.path()).filePath(QStringLiteral("data"));
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(home.path()).filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dataHome));
    const QString themes = QDir(home.path()).filePath(QStringLiteral("themes"));
    QDir().mkpath(themes);
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(themes));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#ifdef GLYPHMORPH_BENCH_KEMOTICONS
    if (!writeKdeTheme(dataHome))
        return 1;
#endif
    // Built before any measurement, so that a profile of one benchmark holds only its loop.
    messageBytes();
    morpher();
    const int status = GlyphmorphBench::runWithRatios(argc, argv, "BaselineCopyPerMessage",
        { "KEmoticonsPerMessage/0", "KEmoticonsPerMessage/1" });
    delete Glyphmorpher::m_pInstance;
    return status;
}
