// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph page: the rendered text as a page that opens in any browser, images included.
#include "tool.h"

#include <emoticontheme.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSaveFile>

namespace Tool {

namespace {

QString unescapeAttribute(QString value)
{
    value.replace(QLatin1String("&#39;"), QLatin1String("'"));
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return value;
}

// Beyond this the page is no message to look at, and its text would be held several times over.
constexpr qint64 maxTextSize = 16 * 1024 * 1024;

// The built-in theme names its images without suffix; the files are the PNG copies beside them.
QString imageFile(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1String(".png") : path;
}

/** The image @p path names as a data: URI; empty, with @p problem set, when it is not read. */
QString dataUri(const QString &path, const QStringList &allowed, QString *problem)
{
    const QString file = imageFile(path);
    QString resolved;
    *problem = imageFileProblem(file, allowed, &resolved);
    if (!problem->isEmpty())
        return QString();
    // The resolved path, not the link, so that what was checked is what is read.
    QFile input(resolved);
    if (input.size() > maxImageFileSize) {
        *problem = QStringLiteral("is larger than 4 MiB");
        return QString();
    }
    if (!input.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("cannot be read: ") + input.errorString();
        return QString();
    }
    const QByteArray bytes = input.read(maxImageFileSize + 1);
    if (bytes.size() > maxImageFileSize) {
        *problem = QStringLiteral("is larger than 4 MiB");
        return QString();
    }
    const QString type = QMimeDatabase().mimeTypeForFileNameAndData(file, bytes).name();
    return QStringLiteral("data:%1;base64,%2").arg(type, QLatin1String(bytes.toBase64()));
}

/** @p html with the source of every image tag replaced by the image's content, or left empty
 *  when the image may not be read. */
QString inlineImages(const QString &html, const QStringList &allowed)
{
    static const QRegularExpression source(QStringLiteral("<img src='([^']*)'"));
    QHash<QString, QString> uris;
    QString result;
    int copied = 0;
    QRegularExpressionMatchIterator matches = source.globalMatch(html);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString path = unescapeAttribute(match.captured(1));
        auto uri = uris.find(path);
        if (uri == uris.end()) {
            QString problem;
            uri = uris.insert(path, dataUri(path, allowed, &problem));
            if (!problem.isEmpty())
                err(QStringLiteral("warning: the image %1 %2; the page shows it empty")
                        .arg(path, problem));
        }
        result += html.mid(copied, match.capturedStart(1) - copied);
        result += *uri;
        copied = match.capturedEnd(1);
    }
    result += html.mid(copied);
    return result;
}

/** The directories whose images a page of @p theme may show, resolved. */
QStringList imageDirectories(const EmoticonTheme &theme)
{
    QStringList directories;
    for (const QString &directory : { themeDirectory(theme),
             EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absolutePath() }) {
        const QString resolved = QFileInfo(directory).canonicalFilePath();
        if (!directory.isEmpty() && !resolved.isEmpty())
            directories << resolved;
    }
    return directories;
}

QString page(const QString &title, const QString &body)
{
    return QStringLiteral(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
        "<style>\n"
        "body { font: 16px/1.6 sans-serif; margin: 2em auto; max-width: 40em; }\n"
        ".message { padding: 0.6em 1em; border-radius: 1em; background: #e8eef7; }\n"
        ".message img { vertical-align: bottom; }\n"
        "</style>\n</head>\n<body>\n<div class=\"message\">\n%2\n</div>\n</body>\n"
        "</html>\n")
        .arg(title.toHtmlEscaped(), body);
}

} // namespace

int runPage(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("page"),
        QStringLiteral(
            "Writes a self-contained HTML page that shows the text as the library renders it\n"
            "with the account's theme, every image inlined as a data: URI, for a look in a\n"
            "browser. The text (arguments joined by spaces, or standard input of at most 16 MiB\n"
            "when there are none) is HTML-escaped first, so it shows exactly as typed.\n"
            "Only regular files of at most 4 MiB inside the theme's directory (or the image\n"
            "cache of the built-in theme), symbolic links resolved, are inlined; any other image\n"
            "is left empty (src='') with a warning on standard error."));
    QCommandLineParser &parser = commandLine.parser;
    const QCommandLineOption account(QStringLiteral("account"),
        QStringLiteral("The messaging account whose theme is used (default: none, the current "
                       "theme)."),
        QStringLiteral("PATH"));
    const QCommandLineOption output({ QStringLiteral("o"), QStringLiteral("output") },
        QStringLiteral("Write the page to FILE (default: standard output)."),
        QStringLiteral("FILE"));
    const QCommandLineOption title(QStringLiteral("title"),
        QStringLiteral("The page title (default: glyphmorph)."), QStringLiteral("TEXT"),
        QStringLiteral("glyphmorph"));
    parser.addOptions({ account, output, title });
    parser.addPositionalArgument(
        QStringLiteral("text"), QStringLiteral("The message text."), QStringLiteral("[TEXT...]"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;

    QString text;
    QString error;
    if (!readText(parser.positionalArguments(), maxTextSize, &text, &error))
        return fail(error);
    Library library;
    const QString html = library.morpher().transformPlainTextToHTML(
        text.toHtmlEscaped(), parser.value(account), 0, QStringLiteral("<br>\n"));
    const QStringList allowed
        = imageDirectories(library.manager().themeForAccountPath(parser.value(account)));
    const QString document = page(parser.value(title), inlineImages(html, allowed));

    if (!parser.isSet(output)) {
        out(document);
        return Success;
    }
    QSaveFile file(parser.value(output));
    const QByteArray bytes = document.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    return Success;
}

} // namespace Tool
