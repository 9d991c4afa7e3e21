// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph html and glyphmorph plain.
#include "tool.h"

#include <glyphmorpher.h>

namespace Tool {

int runHtml(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("html"),
        QStringLiteral(
            "Turns plain text into HTML: every emoticon code of the account's theme found at the\n"
            "start of a word becomes an image tag, every line end the line break text.\n"
            "The text is the arguments joined by spaces, or standard input when there are none\n"
            "(its final line end dropped). Put \"--\" before text that begins with \"-\".\n"
            "The text around the images is copied as it stands: use --escape for valid HTML."));
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
    parser.addOptions({ account, lineBreak, escape });
    parser.addPositionalArgument(
        QStringLiteral("text"), QStringLiteral("The message text."), QStringLiteral("[TEXT...]"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;

    QString text;
    QString error;
    if (!readText(parser.positionalArguments(), &text, &error))
        return fail(error);
    if (parser.isSet(escape))
        text = text.toHtmlEscaped();
    QString lineBreakText = parser.value(lineBreak);
    lineBreakText.replace(QLatin1String("\\n"), QLatin1String("\n"));

    Glyphmorpher morpher;
    out(morpher.transformPlainTextToHTML(text, parser.value(account), 0, lineBreakText)
        + QLatin1Char('\n'));
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
            "Reads FILE, or standard input when FILE is \"-\" or missing."));
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

    QString html;
    QString error;
    if (!readFile(files.isEmpty() ? QStringLiteral("-") : files.first(), &html, &error))
        return fail(error);
    Glyphmorpher morpher;
    QString text = morpher.transformHTMLToPlainText(html);
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    out(text);
    return Success;
}

} // namespace Tool
