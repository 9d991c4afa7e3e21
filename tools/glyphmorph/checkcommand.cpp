// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// glyphmorph check: would a theme directory be accepted, and if not, why.
//
// The library decides (EmoticonThemeFactory, then the installed themes); its parser says only yes
// or no, so the file is read a second time here to find the reason and where it lies.
#include "tool.h"

#include <emoticontheme.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>

namespace Tool {

namespace {

// The limits the library applies to the texts of a theme file.
constexpr int maxCodeLength = 256;

bool isUsableFileText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return !text.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

/** What a reading of the theme file finds, with the library's reading rules: elements are told
 *  apart by the first letter of their name ("c"ode, "f"ile, "p"osition). */
struct ThemeFileReport
{
    QString xmlError;
    qint64 line = 0;
    qint64 column = 0;
    bool declaresEntities = false;
    qint64 tooDeepAtLine = 0;
    bool hasThemeElement = false;
    QString uuid;
    QString name;
    int usableEmoticons = 0;
    bool hasPreview = false;
    QStringList emoticonProblems;
    QSet<QString> imageFiles;
};

enum class Reading
{
    Other,
    Code,
    File
};

struct OpenEmoticon
{
    qint64 line = 0;
    QStringList codes;
    QHash<QString, QString> files;
    bool preview = false;
};

void finishEmoticon(const OpenEmoticon &emoticon, ThemeFileReport &report)
{
    const QString what = QStringLiteral("line %1: the emoticon %2")
                             .arg(emoticon.line)
                             .arg(emoticon.codes.isEmpty() ? QString()
                                                           : QLatin1Char('\'')
                                         + emoticon.codes.first() + QLatin1Char('\''));
    const QString small = QStringLiteral("s");
    if (emoticon.codes.isEmpty()) {
        report.emoticonProblems << what
                + QStringLiteral("has no character code (of 1 to %1 characters)")
                      .arg(maxCodeLength);
    } else if (!emoticon.files.contains(small)) {
        report.emoticonProblems << what + QStringLiteral(" has no small image (<file size=\"s\">)");
    } else if (!isUsableFileText(emoticon.files.value(small))) {
        report.emoticonProblems << what
                + QStringLiteral(" has a small image name that is empty, has control characters "
                                 "or leaves the theme directory");
    } else {
        ++report.usableEmoticons;
        report.hasPreview = report.hasPreview || emoticon.preview;
    }
}

ThemeFileReport readThemeFile(const QByteArray &bytes)
{
    ThemeFileReport report;
    Reading reading = Reading::Other;
    OpenEmoticon emoticon;
    QString text;
    QString size;
    QXmlStreamReader xml(bytes);
    int depth = 0;
    while (!xml.atEnd() && !report.tooDeepAtLine) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            report.declaresEntities = !xml.entityDeclarations().isEmpty();
            break;
        case QXmlStreamReader::StartElement: {
            if (++depth > EmoticonThemeFactory::maxThemeFileDepth)
                report.tooDeepAtLine = xml.lineNumber();
            const QString name = xml.qualifiedName().toString();
            const QXmlStreamAttributes attributes = xml.attributes();
            text.clear();
            if (name.startsWith(QLatin1Char('c'))) {
                reading = Reading::Code;
            } else if (name.startsWith(QLatin1Char('f'))) {
                reading = Reading::File;
                size = attributes.value(QStringLiteral("size")).toString();
            } else if (name == QLatin1String("emoticon")) {
                emoticon.line = xml.lineNumber();
                emoticon.preview = attributes.value(QStringLiteral("preview")).toString().toLower()
                    == QLatin1String("true");
            } else if (name == QLatin1String("emoticon_theme")) {
                report.hasThemeElement = true;
                report.uuid = attributes.value(QStringLiteral("theme_uuid")).toString();
                report.name = attributes.value(QStringLiteral("theme_name")).toString();
            }
            break;
        }
        case QXmlStreamReader::Characters:
            if (reading != Reading::Other)
                text += xml.text();
            break;
        case QXmlStreamReader::EndElement: {
            --depth;
            const QString name = xml.qualifiedName().toString();
            if (name.startsWith(QLatin1Char('c'))) {
                if (!text.isEmpty() && text.size() <= maxCodeLength)
                    emoticon.codes << text;
            } else if (name.startsWith(QLatin1Char('f'))) {
                emoticon.files.insert(size, text);
                if (isUsableFileText(text))
                    report.imageFiles.insert(text);
            } else if (name == QLatin1String("emoticon")) {
                finishEmoticon(emoticon, report);
                emoticon = OpenEmoticon();
            }
            reading = Reading::Other;
            break;
        }
        default:
            break;
        }
    }
    if (xml.hasError()) {
        report.xmlError = xml.errorString();
        report.line = xml.lineNumber();
        report.column = xml.columnNumber();
    }
    return report;
}

// An emoticon without a code or a small image leaves the theme an image path that names no file,
// so the library waits for its image until it gives up.
QString emoticonsReason(const ThemeFileReport &report)
{
    QString reason = QStringLiteral("every emoticon needs a character code and a small image");
    for (const QString &problem : report.emoticonProblems)
        reason += QStringLiteral("\n  ") + problem;
    return reason;
}

/** Why the library finds no valid theme in the file, with its exit code. */
int explainInvalidTheme(const ThemeFileReport &report, const QString &xmlPath, QString *reason)
{
    if (!report.xmlError.isEmpty()) {
        *reason = QStringLiteral("%1 is not well-formed at line %2, column %3: %4")
                      .arg(xmlPath)
                      .arg(report.line)
                      .arg(report.column)
                      .arg(report.xmlError);
        return UnreadableThemeFile;
    }
    if (report.tooDeepAtLine) {
        *reason = QStringLiteral("%1 nests elements more than %2 deep (line %3)")
                      .arg(xmlPath)
                      .arg(EmoticonThemeFactory::maxThemeFileDepth)
                      .arg(report.tooDeepAtLine);
        return UnreadableThemeFile;
    }
    if (report.declaresEntities) {
        *reason = QStringLiteral("%1 declares entities, which theme files may not").arg(xmlPath);
        return UnreadableThemeFile;
    }
    QStringList missing;
    if (!report.hasThemeElement)
        missing << QStringLiteral("an <emoticon_theme> element");
    if (report.hasThemeElement && report.uuid.isEmpty())
        missing << QStringLiteral("a UUID (theme_uuid)");
    if (report.hasThemeElement && report.name.isEmpty())
        missing << QStringLiteral("a name (theme_name)");
    if (!missing.isEmpty()) {
        *reason = QStringLiteral("%1 lacks %2").arg(xmlPath, missing.join(QStringLiteral(" and ")));
        return NoIdentity;
    }
    *reason = emoticonsReason(report);
    return NoUsableEmoticon;
}

/** The image files named in the theme file that may not be read, with the reason. */
QStringList unsafeImages(const QSet<QString> &files, const QDir &directory)
{
    const QStringList allowed = { QFileInfo(directory.path()).canonicalFilePath() };
    QStringList unsafe;
    for (const QString &file : files) {
        // The library reads a name without suffix as the PNG file of that name.
        QStringList candidates = { file };
        if (QFileInfo(file).suffix().isEmpty())
            candidates << file + QLatin1String(".png");
        for (const QString &candidate : candidates) {
            const QFileInfo info(directory.filePath(candidate));
            if (!info.exists() && !info.isSymLink())
                continue;
            QString resolved;
            const QString problem = imageFileProblem(info.filePath(), allowed, &resolved);
            if (!problem.isEmpty())
                unsafe << candidate + QLatin1Char(' ') + problem;
        }
    }
    unsafe.sort();
    return unsafe;
}

/** The theme's image files that do not exist, relative to @p directory, with their codes;
 *  @p unreadable gets those that exist but will not show, with the reason. */
QStringList missingImages(
    const EmoticonTheme &theme, const QDir &directory, QStringList *unreadable)
{
    QStringList missing;
    const QHash<QString, QString> &images = theme.filePathToCodeSequenceMapping();
    for (auto image = images.cbegin(); image != images.cend(); ++image) {
        if (image.key().isEmpty())
            continue;
        const QString line = QStringLiteral("%1 (for %2)")
                                 .arg(directory.relativeFilePath(image.key()), image.value());
        const QFileInfo info(image.key());
        if (!info.exists())
            missing << line;
        else if (info.size() > maxImageFileSize)
            *unreadable << line + QStringLiteral(" is larger than 4 MiB, which is not read");
        else if (info.isFile() && !QImageReader(image.key()).canRead())
            *unreadable << line + QStringLiteral(" is not an image that can be read");
    }
    missing.sort();
    unreadable->sort();
    return missing;
}

/** The installed themes that @p theme would clash with; a theme from @p directory itself is the
 *  same theme, already installed. */
QStringList conflicts(const EmoticonTheme &theme, const QString &directory, QStringList *warnings)
{
    QStringList found;
    const QString canonicalDirectory = QFileInfo(directory).canonicalFilePath();
    const QHash<QString, EmoticonTheme> installed = themeManager().emoticonThemes();
    for (const EmoticonTheme &other : installed) {
        const QString otherDirectory = themeDirectory(other);
        if (otherDirectory.isEmpty()) {
            // Installed themes are compared with each other only; a theme with the built-in
            // theme's UUID is accepted and takes its place.
            if (other.themeUUID() == theme.themeUUID()) {
                *warnings << QStringLiteral("the UUID %1 is the built-in theme's: once installed, "
                                            "this theme replaces the built-in theme")
                                 .arg(theme.themeUUID());
            }
            continue;
        }
        if (QFileInfo(otherDirectory).canonicalFilePath() == canonicalDirectory)
            continue;
        if (other.themeUUID() == theme.themeUUID()) {
            found << QStringLiteral("the UUID %1 is taken by the installed theme '%2' in %3")
                         .arg(theme.themeUUID(), other.themeName(), otherDirectory);
        }
        if (!theme.serviceUUID().isEmpty() && other.serviceUUID() == theme.serviceUUID()) {
            found << QStringLiteral("the service %1 is taken by the installed theme '%2' in %3")
                         .arg(theme.serviceUUID(), other.themeName(), otherDirectory);
        }
    }
    found.sort();
    return found;
}

int refuse(const QString &directory, const QString &reason, int code)
{
    return fail(QStringLiteral("refused: %1: %2").arg(directory, reason), code);
}

void warn(const QString &directory, const QStringList &warnings)
{
    for (const QString &warning : warnings)
        err(QStringLiteral("warning: %1: %2").arg(directory, warning));
}

} // namespace

int runCheck(const QStringList &arguments)
{
    CommandLine commandLine(QStringLiteral("check"),
        QStringLiteral(
            "Tells whether the theme directory DIR would be accepted once installed below the\n"
            "themes root and, if not, why. DIR must hold DIR/NAME.xml, NAME being the directory's\n"
            "own name, describing a theme with a UUID, a name and emoticons that each have a\n"
            "code and a small image, and every image it names. Its UUID, and its service if it\n"
            "names one, must not be taken by another installed theme.\n"
            "Prints the verdict on standard output when accepted; the reasons for a refusal and\n"
            "warnings go to standard error.\n\n"
            "Exit codes:\n"
            "  0  accepted\n"
            "  2  bad arguments\n"
            "  3  DIR is not a directory, or holds no NAME.xml\n"
            "  4  the theme file is unreadable, too large (over 4 MiB), declares entities or is\n"
            "     not well-formed (the line and column are given)\n"
            "  5  the theme has no <emoticon_theme> element, no UUID or no name\n"
            "  6  an emoticon has no character code or no small (size=\"s\") image\n"
            "  7  image files are missing (they are listed)\n"
            "  8  the UUID or the service is taken by another installed theme\n"
            "  9  an image file is not a regular file (a FIFO, device, socket, directory or\n"
            "     dangling link) or resolves outside DIR; such files are never opened"));
    commandLine.parser.addPositionalArgument(
        QStringLiteral("dir"), QStringLiteral("The theme directory."), QStringLiteral("DIR"));
    const int parsed = commandLine.parse(arguments);
    if (parsed >= 0)
        return parsed;
    const QStringList positional = commandLine.parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("check needs exactly one theme directory; 'glyphmorph check "
                                   "--help' shows the usage"),
            UsageError);

    const QString directory = QDir::cleanPath(QFileInfo(positional.first()).absoluteFilePath());
    if (!QFileInfo(directory).isDir())
        return refuse(directory, QStringLiteral("not a directory"), NoThemeFile);
    const QDir dir(directory);
    const QString xmlPath = dir.filePath(dir.dirName() + QLatin1String(".xml"));
    QStringList warnings;
    if (dir.dirName().startsWith(QLatin1Char('.')))
        warnings << QStringLiteral("hidden directories below the themes root are never read");

    if (QFileInfo(xmlPath).exists() && !QFileInfo(xmlPath).isFile()) {
        warn(directory, warnings);
        QString resolved;
        return refuse(directory,
            xmlPath + QLatin1Char(' ') + imageFileProblem(xmlPath, {}, &resolved), NoThemeFile);
    }
    if (!QFileInfo(xmlPath).isFile()) {
        QString reason
            = QStringLiteral("no theme file %1 (named after the directory)").arg(xmlPath);
        const QStringList others = dir.entryList({ QStringLiteral("*.xml") }, QDir::Files);
        if (!others.isEmpty())
            reason += QStringLiteral("; found %1 instead").arg(others.join(QStringLiteral(", ")));
        warn(directory, warnings);
        return refuse(directory, reason, NoThemeFile);
    }
    QFile file(xmlPath);
    if (file.size() > EmoticonThemeFactory::maxThemeFileSize) {
        warn(directory, warnings);
        return refuse(
            directory, xmlPath + QStringLiteral(" is larger than 4 MiB"), UnreadableThemeFile);
    }
    if (!file.open(QIODevice::ReadOnly)) {
        warn(directory, warnings);
        return refuse(directory,
            QStringLiteral("cannot read %1: %2").arg(xmlPath, file.errorString()),
            UnreadableThemeFile);
    }
    const ThemeFileReport report
        = readThemeFile(file.read(EmoticonThemeFactory::maxThemeFileSize + 1));
    // Before the library reads the theme, which reads its preview image.
    if (report.xmlError.isEmpty() && !report.declaresEntities) {
        const QStringList unsafe = unsafeImages(report.imageFiles, dir);
        if (!unsafe.isEmpty()) {
            warn(directory, warnings);
            return refuse(directory,
                QStringLiteral("unsafe image files:\n  ") + unsafe.join(QStringLiteral("\n  ")),
                UnsafeImages);
        }
    }

    const EmoticonTheme theme = EmoticonThemeFactory::emoticonThemeFromXML(xmlPath);
    if (!theme.isValid()) {
        QString reason;
        const int code = explainInvalidTheme(report, xmlPath, &reason);
        warn(directory, warnings);
        return refuse(directory, reason, code);
    }
    if (theme.filePathToCodeSequenceMapping().contains(QString())) {
        warn(directory, warnings);
        return refuse(directory, emoticonsReason(report), NoUsableEmoticon);
    }
    if (!report.hasPreview)
        warnings << QStringLiteral(
            "no emoticon has preview=\"true\": the theme gets no preview image");

    QStringList unreadable;
    const QStringList missing = missingImages(theme, dir, &unreadable);
    warnings << unreadable;
    if (!missing.isEmpty()) {
        warn(directory, warnings);
        return refuse(directory,
            QStringLiteral("image files missing:\n  ") + missing.join(QStringLiteral("\n  ")),
            MissingImages);
    }

    Glyphmorpher morpher;
    const QStringList clashes = conflicts(theme, directory, &warnings);
    warn(directory, warnings);
    if (!clashes.isEmpty())
        return refuse(directory, clashes.join(QStringLiteral("; ")), ThemeTaken);

    out(QStringLiteral("accepted: %1: '%2' (%3), %4 emoticons%5\n")
            .arg(directory, theme.themeName(), theme.themeUUID())
            .arg(emoticonCount(theme))
            .arg(theme.serviceUUID().isEmpty()
                    ? QString()
                    : QStringLiteral(", for the service ") + theme.serviceUUID()));
    return Success;
}

} // namespace Tool
