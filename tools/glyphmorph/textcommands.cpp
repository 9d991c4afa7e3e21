// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph html and glyphmorph plain.
#include "textinput.h"
#include "tool.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace Tool {

namespace {

int readFailure(const QString &source, const QString &error)
{
    return fail(QStringLiteral("cannot read %1: %2").arg(source, error));
}

} // namespace

int runHtml(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("html"),
        QStringLiteral(
            "Turns plain text into HTML: every emoticon code of the account's theme found at the\n"
            "start of a word becomes an image tag, every line end the line break text; a line\n"
            "end is a line feed, a carriage return, or the two as CR LF (--round-trip keeps the\n"
            "carriage return of a CR LF, as \"&#13;\" before the line break).\n"
            "The text is the arguments joined by spaces, or standard input when there are none\n"
            "(its final line end dropped). Put \"--\" before text that begins with \"-\".\n"
            "The text around the images is copied as it stands: use --escape for valid HTML.\n"
            "Standard input is converted line by line, in bounded memory; a line longer than\n"
            "1 MiB is cut at its last space within 1 MiB (else between two characters), and a\n"
            "code is not found across such a cut. Malformed UTF-8 becomes U+FFFD."));
    QCommandLineParser &parser = commandLine.parser;
    const QCommandLineOption account(QStringLiteral("account"),
        QStringLiteral("The messaging account whose theme is used: the theme bound to its service, "
                       "else the current theme (default: none, the current theme)."),
        QStringLiteral("PATH"));
    const QCommandLineOption lineBreak(QStringLiteral("line-break"),
        QStringLiteral("What each line end becomes; \\n in TEXT is a line feed (default: <br>)."),
        QStringLiteral("TEXT"), QStringLiteral("<br>"));
    const QCommandLineOption escape(QStringLiteral("escape"),
        QStringLiteral("HTML-escape the text first (& < > \" become entities); escaped codes such "
                       "as &lt;3 are still found."));
    const QCommandLineOption roundTrip(QStringLiteral("round-trip"),
        QStringLiteral("Escape the text and give each image its code in alt and title, so that "
                       "'glyphmorph plain --round-trip' gives back exactly the text (a carriage "
                       "return becomes &#13;; the line break must be <br> with line ends only). "
                       "Standard input keeps its final line end then."));
    const QCommandLineOption strict(QStringLiteral("strict"),
        QStringLiteral("Replace a code only when a space, a line end, the end of the text or a "
                       "character that is no letter, number (any Unicode number, superscripts and "
                       "Roman numerals too) or combining mark follows it."));
    const QCommandLineOption emojiText(QStringLiteral("emoji-text"),
        QStringLiteral("Write the Unicode emoji a code stands for instead of its image, for every "
                       "code that has one (\":)\" gives 🙂, \":thumbsup:\" 👍)."));
    parser.addOptions({ account, lineBreak, escape, roundTrip, strict, emojiText });
    parser.addPositionalArgument(
        QStringLiteral("text"), QStringLiteral("The message text."), QStringLiteral("[TEXT...]"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;

    const QString accountPath = parser.value(account);
    QString lineBreakText = parser.value(lineBreak);
    lineBreakText.replace(QLatin1String("\\n"), QLatin1String("\n"));
    Library library;
    Glyphmorpher::ConversionOptions options;
    options.setFlag(Glyphmorpher::RoundTrip, parser.isSet(roundTrip));
    options.setFlag(Glyphmorpher::StrictCodeEnds, parser.isSet(strict));
    options.setFlag(Glyphmorpher::EmojiText, parser.isSet(emojiText));
    if (parser.isSet(roundTrip) && parser.isSet(escape))
        return fail(
            QStringLiteral("--round-trip escapes the text itself; leave out --escape"), UsageError);
    if (parser.isSet(roundTrip)
        && library.morpher().transformHTMLToPlainText(lineBreakText, Glyphmorpher::RoundTrip)
            != QLatin1String("\n"))
        return fail(QStringLiteral("--round-trip needs a line break that reads back as one line "
                                   "feed: <br>, with line ends around it at most"),
            UsageError);
    const auto convert = [&](QString text) {
        // Text files from Windows end their lines with CR LF: one line end, where the library
        // reads two. A round trip gives back every character, the carriage return too.
        if (!parser.isSet(roundTrip))
            joinCrLf(&text);
        if (parser.isSet(escape))
            text = text.toHtmlEscaped();
        return library.morpher().transformPlainTextToHTML(
            text, accountPath, 0, lineBreakText, options);
    };

    const QStringList words = parser.positionalArguments();
    if (!words.isEmpty()) {
        out(convert(words.join(QLatin1Char(' '))) + QLatin1Char('\n'));
        return Success;
    }

    // Line ends separate words, so whole lines convert on their own. Each piece keeps its line
    // end: the scan treats a code cut short by the end of the text unlike one a line end stops.
    TextSplitter input(STDIN_FILENO, TextSplitter::PlainText);
    QByteArray piece;
    while (input.next(&piece)) {
        QString text = decode(piece.constData(), piece.size());
        // A round trip gives back the final line end too: the one written after the HTML is
        // layout there.
        if (input.atEnd() && !parser.isSet(roundTrip))
            dropFinalLineEnd(&text);
        QString html = convert(text);
        if (input.atEnd())
            html += QLatin1Char('\n');
        if (!out(html))
            return fail(outputError());
    }
    if (!input.atEnd())
        return readFailure(QStringLiteral("standard input"), input.error());
    return Success;
}

int runPlain(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("plain"),
        QStringLiteral(
            "Turns emoticon HTML back into plain text: an image tag that carries its code in a\n"
            "single-quoted alt attribute and ends with width='N' height='N', such as\n"
            "  <img src='smile.png' alt=':)' width='20' height='20'>\n"
            "becomes the code, and <br> becomes a line feed. Everything else stays as it is; the\n"
            "tags that 'glyphmorph html' writes carry no alt attribute and so stay too.\n"
            "Reads FILE, or standard input when FILE is \"-\" or missing, piece by piece in\n"
            "bounded memory: cut after <br> or after a line end outside an image tag. A line\n"
            "longer than 1 MiB is cut at its last space within 1 MiB (else between two\n"
            "characters), and an image tag is not found across such a cut. Malformed UTF-8\n"
            "becomes U+FFFD."));
    const QCommandLineOption roundTrip(QStringLiteral("round-trip"),
        QStringLiteral(
            "Read what 'glyphmorph html --round-trip' writes: an image tag with an alt "
            "attribute in either quote style becomes its value, entities are decoded, "
            "raw line ends are layout; the text comes back as it was, final line end and all."));
    commandLine.parser.addOption(roundTrip);
    commandLine.parser.addPositionalArgument(QStringLiteral("file"),
        QStringLiteral("The HTML file (default: standard input)."), QStringLiteral("[FILE]"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList files = commandLine.parser.positionalArguments();
    if (files.size() > 1)
        return fail(
            QStringLiteral("plain reads one file; 'glyphmorph plain --help' shows the usage"),
            UsageError);

    const QString path = files.isEmpty() ? QStringLiteral("-") : files.first();
    const bool standardInput = path == QLatin1String("-");
    const QString source = standardInput ? QStringLiteral("standard input") : path;
    QFile file(path);
    if (!standardInput) {
        if (QFileInfo(path).isDir())
            return readFailure(source, QStringLiteral("is a directory"));
        if (!file.open(QIODevice::ReadOnly))
            return readFailure(source, file.errorString());
    }

    Library library;
    TextSplitter input(standardInput ? STDIN_FILENO : file.handle(), TextSplitter::Html);
    QByteArray piece;
    const Glyphmorpher::ConversionOptions options = commandLine.parser.isSet(roundTrip)
        ? Glyphmorpher::RoundTrip
        : Glyphmorpher::DefaultConversion;
    QChar last = QLatin1Char('\n');
    while (input.next(&piece)) {
        const QString text = library.morpher().transformHTMLToPlainText(
            decode(piece.constData(), piece.size()), options);
        if (!text.isEmpty())
            last = text.back();
        if (!out(text))
            return fail(outputError());
    }
    if (!input.atEnd())
        return readFailure(source, input.error());
    // The text ends with a line end, unless there is none; a round trip gives back the text as
    // it was.
    if (!options && last != QLatin1Char('\n') && !out(QStringLiteral("\n")))
        return fail(outputError());
    return Success;
}

} // namespace Tool
