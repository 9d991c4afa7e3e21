// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph page: the rendered text as a page that opens in any browser, images included.
#include "textinput.h"
#include "tool.h"

#include <emosequencesearchtree.h>
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

#include <functional>

namespace Tool {

namespace {

// Beyond this the page is no message to look at.
constexpr qint64 maxTextSize = 16 * 1024 * 1024;
// The page body held between the passes at most; a larger one is made twice instead.
constexpr qsizetype maxKeptBodySize = 32 * 1024 * 1024;

const QString pageImageTagStart = QStringLiteral("<img src='");

QString unescapeAttribute(QString value)
{
    value.replace(QLatin1String("&#39;"), QLatin1String("'"));
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return value;
}

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

/**
 * The message as page HTML. The library's image tags name image files, which a page must carry
 * inside: each distinct tag becomes a CSS class that shows its image as a data: URL, and every
 * occurrence an empty span of that class, so that the page grows with the number of distinct
 * images, not with the number of emoticons.
 */
class PageBody
{
public:
    PageBody(const QByteArray &text, bool fromStandardInput, emoSequenceSearchTree *tree)
        : m_text(text)
        , m_fromStandardInput(fromStandardInput)
        , m_tree(tree)
    { }

    /** Converts the whole text piece by piece, passing each piece's HTML to @p write; stops
     *  when it returns false. The classes grow with the tags seen. */
    bool convert(const std::function<bool(const QByteArray &)> &write)
    {
        // Pieces of whole lines, as "html" reads them: the text converts in bounded memory.
        TextSplitter input(m_text, TextSplitter::PlainText);
        QByteArray piece;
        while (input.next(&piece)) {
            QString text = decode(piece.constData(), piece.size());
            if (input.atEnd() && m_fromStandardInput)
                dropFinalLineEnd(&text);
            joinCrLf(&text);
            text = text.toHtmlEscaped();
            const QString html = m_tree
                ? m_tree->performPlainText2HTMLReplacement(text, 0, QStringLiteral("<br>\n"))
                : text;
            if (!write(withClasses(html).toUtf8()))
                return false;
        }
        return true;
    }

    /** The style rules of the classes, each with its image from a file within @p allowed. */
    QString style(const QStringList &allowed) const
    {
        static const QRegularExpression size(QStringLiteral("\\b(width|height)='(\\d+)'"));
        QString rules;
        for (int index = 0; index < m_tags.size(); ++index) {
            const QString &tag = m_tags.at(index);
            const int sourceEnd = int(tag.indexOf(QLatin1Char('\''), pageImageTagStart.size()));
            const QString path = unescapeAttribute(
                tag.mid(pageImageTagStart.size(), sourceEnd - pageImageTagStart.size()));
            QString rule;
            QRegularExpressionMatchIterator sizes = size.globalMatch(tag, sourceEnd);
            while (sizes.hasNext()) {
                const QRegularExpressionMatch match = sizes.next();
                rule += QStringLiteral(" %1: %2px;").arg(match.captured(1), match.captured(2));
            }
            QString problem;
            const QString uri = dataUri(path, allowed, &problem);
            if (problem.isEmpty()) {
                rule += QStringLiteral(" background-image: url(\"%1\");").arg(uri);
            } else {
                err(QStringLiteral("warning: the image %1 %2; the page shows it empty")
                        .arg(path, problem));
            }
            rules += QStringLiteral(".message .e%1 {%2 }\n").arg(index).arg(rule);
        }
        return rules;
    }

private:
    QString withClasses(const QString &html)
    {
        QString result;
        qsizetype copied = 0;
        for (qsizetype at = html.indexOf(pageImageTagStart); at >= 0;
             at = html.indexOf(pageImageTagStart, at)) {
            const qsizetype end = html.indexOf(QLatin1Char('>'), at);
            if (end < 0)
                break;
            const QStringView tag = QStringView(html).mid(at, end + 1 - at);
            // Codes come in runs: most tags are the one before.
            if (tag != m_lastTag) {
                m_lastTag = tag.toString();
                auto known = m_classes.constFind(m_lastTag);
                if (known == m_classes.cend()) {
                    known = m_classes.insert(m_lastTag, int(m_tags.size()));
                    m_tags.append(m_lastTag);
                }
                m_lastSpan = QStringLiteral("<span class=\"e%1\"></span>").arg(known.value());
            }
            result += QStringView(html).mid(copied, at - copied);
            result += m_lastSpan;
            copied = at = end + 1;
        }
        result += QStringView(html).mid(copied);
        return result;
    }

    const QByteArray m_text;
    const bool m_fromStandardInput;
    emoSequenceSearchTree *const m_tree;
    QStringList m_tags;
    QHash<QString, int> m_classes;
    QString m_lastTag;
    QString m_lastSpan;
};

QString pageHead(const QString &title, const QString &style)
{
    // Emoticon spans are the only spans: the text is escaped.
    return QStringLiteral(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
        "<style>\n"
        "body { font: 16px/1.6 sans-serif; margin: 2em auto; max-width: 40em; }\n"
        ".message { padding: 0.6em 1em; border-radius: 1em; background: #e8eef7; }\n"
        ".message span { display: inline-block; width: 20px; height: 20px; "
        "vertical-align: bottom; background: no-repeat center / 100% 100%; "
        "-webkit-print-color-adjust: exact; print-color-adjust: exact; }\n"
        "%2</style>\n</head>\n<body>\n<div class=\"message\">\n")
        .arg(title.toHtmlEscaped(), style);
}

const QString pageEnd = QStringLiteral("\n</div>\n</body>\n</html>\n");

} // namespace

int runPage(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("page"),
        QStringLiteral(
            "Writes a self-contained HTML page that shows the text as the library renders it\n"
            "with the account's theme, for a look in a browser. The text (arguments joined by\n"
            "spaces, or standard input of at most 16 MiB when there are none, its final line\n"
            "end dropped) is HTML-escaped first, so it shows exactly as typed; a CR LF is one\n"
            "line end. Each distinct image is inlined once, as a data: URL in the page's style,\n"
            "however often it appears. Only regular files of at most 4 MiB inside the theme's\n"
            "directory (or the image cache of the built-in theme), symbolic links resolved, are\n"
            "inlined; any other image is left empty, with a warning on standard error.\n"
            "Like 'html', the text is converted a piece of whole lines at a time: a line longer\n"
            "than 1 MiB is cut at its last space within 1 MiB, and a code is not found across\n"
            "such a cut."));
    QCommandLineParser &parser = commandLine.parser;
    const QCommandLineOption account(QStringLiteral("account"),
        QStringLiteral("The messaging account whose theme is used (default: none, the current "
                       "theme)."),
        QStringLiteral("PATH"));
    const QCommandLineOption output({ QStringLiteral("o"), QStringLiteral("output") },
        QStringLiteral("Write the page to FILE; \"-\" is standard output, the default."),
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

    const QStringList words = parser.positionalArguments();
    QByteArray text;
    if (!words.isEmpty()) {
        text = words.join(QLatin1Char(' ')).toUtf8();
    } else {
        QString error;
        if (!readStandardInput(maxTextSize, &text, &error))
            return fail(error);
    }
    Library library;
    // One theme for the whole page, however the settings change meanwhile.
    const EmoticonTheme theme = library.manager().themeForAccountPath(parser.value(account));
    PageBody body(text, words.isEmpty(), theme.characterCodeSequenceSearchTree());
    // The style comes first but needs every image: a first pass finds them. It keeps what it
    // made unless that grows large; then a second pass makes it again as it is written.
    QByteArray kept;
    bool keptWhole = true;
    body.convert([&kept, &keptWhole](const QByteArray &html) {
        if (keptWhole && kept.size() + html.size() > maxKeptBodySize) {
            keptWhole = false;
            kept = QByteArray();
        }
        if (keptWhole)
            kept += html;
        return true;
    });
    const QString head = pageHead(parser.value(title), body.style(imageDirectories(theme)));
    const auto writeBody = [&](const std::function<bool(const QByteArray &)> &write) {
        return keptWhole ? write(kept) : body.convert(write);
    };

    const QString path = parser.value(output);
    if (path.isEmpty() || path == QLatin1String("-")) {
        const auto write = [](const QByteArray &html) {
            return out(html);
        };
        if (out(head) && writeBody(write) && out(pageEnd))
            return Success;
        return fail(outputError());
    }
    QSaveFile file(path);
    const auto write = [&file](const QByteArray &bytes) {
        return file.write(bytes) == bytes.size();
    };
    if (!file.open(QIODevice::WriteOnly) || !write(head.toUtf8()) || !writeBody(write)
        || !write(pageEnd.toUtf8()) || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    return Success;
}

} // namespace Tool
