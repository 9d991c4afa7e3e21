// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemediagnosis.h"

#include "boundedfile_p.h"
#include "emoticonthemefactory.h"
#include "themefileparse_p.h"
#include "unsafefile_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <QSharedData>
#include <QUuid>

#include <utility>

class EmoticonThemeDiagnosisData : public QSharedData
{
public:
    EmoticonThemeDiagnosis::Refusal refusal = EmoticonThemeDiagnosis::NotRefused;
    QString reason;
    qint64 line = 0;
    qint64 column = 0;
    QList<EmoticonThemeDiagnosis::Finding> findings;
    QString directory;
    EmoticonTheme theme;
};

EmoticonThemeDiagnosis::EmoticonThemeDiagnosis()
    : d(new EmoticonThemeDiagnosisData)
{ }

EmoticonThemeDiagnosis::EmoticonThemeDiagnosis(const EmoticonThemeDiagnosis &other) = default;
EmoticonThemeDiagnosis &EmoticonThemeDiagnosis::operator=(const EmoticonThemeDiagnosis &other)
    = default;
EmoticonThemeDiagnosis::~EmoticonThemeDiagnosis() = default;

EmoticonThemeDiagnosis::Refusal EmoticonThemeDiagnosis::refusal() const
{
    return d->refusal;
}

QString EmoticonThemeDiagnosis::reason() const
{
    return d->reason;
}

qint64 EmoticonThemeDiagnosis::line() const
{
    return d->line;
}

qint64 EmoticonThemeDiagnosis::column() const
{
    return d->column;
}

QList<EmoticonThemeDiagnosis::Finding> EmoticonThemeDiagnosis::findings() const
{
    return d->findings;
}

QList<EmoticonThemeDiagnosis::Finding> EmoticonThemeDiagnosis::findings(Finding::Kind kind) const
{
    QList<Finding> found;
    for (const Finding &finding : d->findings) {
        if (finding.kind == kind)
            found << finding;
    }
    return found;
}

QString EmoticonThemeDiagnosis::directory() const
{
    return d->directory;
}

EmoticonTheme EmoticonThemeDiagnosis::theme() const
{
    return d->theme;
}

void EmoticonThemeDiagnosis::refuse(
    Refusal refusal, const QString &reason, qint64 line, qint64 column)
{
    d->refusal = refusal;
    d->reason = reason;
    d->line = line;
    d->column = column;
}

void EmoticonThemeDiagnosis::add(
    Finding::Kind kind, const QString &text, qint64 line, qint64 column)
{
    d->findings << Finding { kind, text, line, column };
}

void EmoticonThemeDiagnosis::setDirectory(const QString &directory)
{
    d->directory = directory;
}

void EmoticonThemeDiagnosis::setTheme(const EmoticonTheme &theme)
{
    d->theme = theme;
}

namespace {

using Finding = EmoticonThemeDiagnosis::Finding;

QList<EmoticonParsingItem> emoticonsOf(const QHash<QString, QVariant> &result)
{
    return result.value(QStringLiteral("emoticons")).value<QList<EmoticonParsingItem>>();
}

/** Why the theme file at @p xmlPath was not read, with the refusal it earns. */
void refuseUnread(EmoticonThemeDiagnosis &diagnosis, const QDir &directory, const QString &xmlPath)
{
    const QFileInfo info(xmlPath);
    if (info.exists() && !info.isFile()) {
        diagnosis.refuse(EmoticonThemeDiagnosis::NoThemeFile,
            xmlPath + QLatin1Char(' ') + UnsafeFile::problem(xmlPath, {}));
    } else if (!info.exists()) {
        QString reason
            = QStringLiteral("no theme file %1 (named after the directory)").arg(xmlPath);
        const QStringList others = directory.entryList({ QStringLiteral("*.xml") }, QDir::Files);
        if (!others.isEmpty())
            reason += QStringLiteral("; found %1 instead").arg(others.join(QStringLiteral(", ")));
        diagnosis.refuse(EmoticonThemeDiagnosis::NoThemeFile, reason);
    } else if (info.size() > EmoticonThemeFactory::maxThemeFileSize) {
        diagnosis.refuse(EmoticonThemeDiagnosis::UnreadableThemeFile,
            xmlPath + QStringLiteral(" is larger than 4 MiB"));
    } else {
        QFile file(xmlPath);
        // It opens when it was replaced since: then it changed while read.
        const QString error = file.open(QIODevice::ReadOnly)
            ? QStringLiteral("the file changed while it was read")
            : file.errorString();
        diagnosis.refuse(EmoticonThemeDiagnosis::UnreadableThemeFile,
            QStringLiteral("cannot read %1: %2").arg(xmlPath, error));
    }
}

void refuseUnparsed(
    EmoticonThemeDiagnosis &diagnosis, const ThemeFileParse &parse, const QString &xmlPath)
{
    QString reason;
    switch (parse.outcome) {
    case ThemeFileParse::TooDeep:
        reason = QStringLiteral("%1 nests elements more than %2 deep (line %3)")
                     .arg(xmlPath)
                     .arg(EmoticonThemeFactory::maxThemeFileDepth)
                     .arg(parse.line);
        break;
    case ThemeFileParse::DeclaresEntities:
        reason = QStringLiteral("%1 declares entities, which theme files may not").arg(xmlPath);
        break;
    default:
        reason = QStringLiteral("%1 is not well-formed at line %2, column %3: %4")
                     .arg(xmlPath)
                     .arg(parse.line)
                     .arg(parse.column)
                     .arg(parse.error);
        break;
    }
    diagnosis.refuse(EmoticonThemeDiagnosis::UnreadableThemeFile, reason, parse.line,
        parse.outcome == ThemeFileParse::NotWellFormed ? parse.column : 0);
}

/** The image files the emoticons name that may not be opened, with the reason. */
QStringList unsafeImages(const QList<EmoticonParsingItem> &emoticons, const QDir &directory)
{
    const QString allowed = QFileInfo(directory.path()).canonicalFilePath();
    QSet<QString> files;
    for (const EmoticonParsingItem &emoticon : emoticons) {
        for (const QVariant &file : emoticon.files) {
            if (isUsableFileText(file.toString()))
                files << file.toString();
        }
    }
    QStringList unsafe;
    for (const QString &file : std::as_const(files)) {
        // A name without suffix is read as the PNG file of that name.
        QStringList candidates = { file };
        if (QFileInfo(file).suffix().isEmpty())
            candidates << file + QLatin1String(".png");
        for (const QString &candidate : candidates) {
            // Joined as the library joins it: an absolute name stays inside the directory too.
            const QFileInfo info(directory.path() + QLatin1Char('/') + candidate);
            if (!info.exists() && !info.isSymLink())
                continue;
            const QString problem = UnsafeFile::problem(info.filePath(), { allowed });
            if (!problem.isEmpty())
                unsafe << candidate + QLatin1Char(' ') + problem;
        }
    }
    unsafe.sort();
    return unsafe;
}

QString identityGaps(const QHash<QString, QVariant> &result)
{
    if (!result.contains(QStringLiteral("themeUUID")))
        return QStringLiteral("an <emoticon_theme> element");
    QStringList missing;
    if (result.value(QStringLiteral("themeUUID")).toString().isEmpty())
        missing << QStringLiteral("a UUID (theme_uuid)");
    if (result.value(QStringLiteral("themeName")).toString().isEmpty())
        missing << QStringLiteral("a name (theme_name)");
    return missing.join(QStringLiteral(" and "));
}

// An emoticon without a code or a small image leaves the theme an image path that names no file,
// so the library would wait for its image until it gives up.
void findEmoticonDefects(EmoticonThemeDiagnosis &diagnosis, const ThemeFileParse &parse)
{
    const QList<EmoticonParsingItem> emoticons = emoticonsOf(parse.result);
    for (int i = 0; i < emoticons.size(); ++i) {
        const EmoticonDefect defect = emoticonDefect(emoticons.at(i));
        if (defect == EmoticonDefect::None)
            continue;
        const emoXMLParsingHandler::EmoticonSource source = parse.sources.value(i);
        const QString emoticon = source.firstCode.isNull()
            ? QStringLiteral("the emoticon")
            : QStringLiteral("the emoticon '%1'").arg(source.firstCode);
        QString text;
        if (defect == EmoticonDefect::NoCode) {
            text = QStringLiteral("%1 has no character code (of 1 to %2 characters)")
                       .arg(emoticon)
                       .arg(emoXMLParsingHandler::maxCodeLength);
        } else if (defect == EmoticonDefect::NoSmallImage) {
            text = emoticon + QStringLiteral(" has no small image (<file size=\"s\">)");
        } else {
            text = emoticon
                + QStringLiteral(" has a small image name that is empty, has control characters "
                                 "or leaves the theme directory");
        }
        diagnosis.add(Finding::Detail, text, source.line);
    }
    diagnosis.refuse(EmoticonThemeDiagnosis::NoUsableEmoticon,
        emoticons.isEmpty()
            ? QStringLiteral("the theme has no emoticons")
            : QStringLiteral("every emoticon needs a character code and a small image"));
}

// What the library takes, but probably not as the author meant it.
void findMisgivings(EmoticonThemeDiagnosis &diagnosis, const ThemeFileParse &parse)
{
    const EmoticonTheme theme = diagnosis.theme();
    if (theme.themeName().trimmed().isEmpty())
        diagnosis.add(Finding::Warning, QStringLiteral("the theme name is blank"));
    if (QUuid(theme.themeUUID()).isNull()) {
        diagnosis.add(Finding::Warning,
            QStringLiteral("the theme UUID '%1' is not a UUID (such as %2)")
                .arg(theme.themeUUID(), QStringLiteral("0d6f3c2e-7a4b-4c39-9a57-2f1e8b6d4c10")));
    }
    int pastBudget = 0;
    qint64 firstPastBudget = 0;
    for (const emoXMLParsingHandler::DroppedCode &code : parse.droppedCodes) {
        if (!code.pastBudget) {
            diagnosis.add(Finding::Warning,
                QStringLiteral("a code of %1 characters is left out: codes have at most %2")
                    .arg(code.length)
                    .arg(emoXMLParsingHandler::maxCodeLength),
                code.line);
        } else if (pastBudget++ == 0) {
            firstPastBudget = code.line;
        }
    }
    if (pastBudget > 0) {
        diagnosis.add(Finding::Warning,
            QStringLiteral("%1 from here on left out: a theme's codes take at most %2 characters")
                .arg(pastBudget == 1 ? QStringLiteral("1 code")
                                     : QStringLiteral("%1 codes").arg(pastBudget))
                .arg(emoXMLParsingHandler::maxCodeCharacters),
            firstPastBudget);
    }
    const QList<EmoticonParsingItem> emoticons = emoticonsOf(parse.result);
    QHash<QString, qint64> firstLines; // a code to the line of the emoticon that has it first
    for (int i = 0; i < emoticons.size(); ++i) {
        const EmoticonParsingItem &emoticon = emoticons.at(i);
        const emoXMLParsingHandler::EmoticonSource source = parse.sources.value(i);
        if (emoticon.files.value(QStringLiteral("m")).toString().isEmpty()) {
            diagnosis.add(Finding::Warning,
                QStringLiteral("the emoticon '%1' has no picker image (<file size=\"m\">)")
                    .arg(source.firstCode),
                source.line);
        }
        QStringList codes = emoticon.characterCodes.keys();
        codes.sort();
        for (const QString &code : std::as_const(codes)) {
            const auto first = firstLines.constFind(code);
            if (first == firstLines.cend()) {
                firstLines.insert(code, source.line);
            } else if (*first != source.line) {
                diagnosis.add(Finding::Warning,
                    QStringLiteral("the code '%1' is also the emoticon's on line %2: this later "
                                   "one is used")
                        .arg(code)
                        .arg(*first),
                    source.line);
            }
        }
    }
}

/** Refuses for image files that do not exist; warns of those that exist but will not show. */
void findMissingImages(EmoticonThemeDiagnosis &diagnosis, const QDir &directory)
{
    QStringList missing;
    QStringList unreadable;
    const QHash<QString, QString> &images = diagnosis.theme().filePathToCodeSequenceMapping();
    for (auto image = images.cbegin(); image != images.cend(); ++image) {
        const QString line = QStringLiteral("%1 (for %2)")
                                 .arg(directory.relativeFilePath(image.key()), image.value());
        const QFileInfo info(image.key());
        if (!info.exists())
            missing << line;
        else if (info.size() > BoundedFile::maxImageFileSize)
            unreadable << line + QStringLiteral(" is larger than 4 MiB, which is not read");
        else if (info.isFile() && !QImageReader(image.key()).canRead())
            unreadable << line + QStringLiteral(" is not an image that can be read");
    }
    missing.sort();
    unreadable.sort();
    for (const QString &file : std::as_const(unreadable))
        diagnosis.add(Finding::Warning, file);
    for (const QString &file : std::as_const(missing))
        diagnosis.add(Finding::Detail, file);
    if (!missing.isEmpty())
        diagnosis.refuse(
            EmoticonThemeDiagnosis::MissingImages, QStringLiteral("image files missing:"));
}

} // namespace

EmoticonThemeDiagnosis EmoticonThemeFactory::diagnoseTheme(const QString &themeDirectory)
{
    EmoticonThemeDiagnosis diagnosis;
    const QString path = QDir::cleanPath(QFileInfo(themeDirectory).absoluteFilePath());
    diagnosis.setDirectory(path);
    if (!QFileInfo(path).isDir()) {
        diagnosis.refuse(EmoticonThemeDiagnosis::NoThemeFile, QStringLiteral("not a directory"));
        return diagnosis;
    }
    const QDir directory(path);
    if (directory.dirName().startsWith(QLatin1Char('.'))) {
        diagnosis.add(Finding::Warning,
            QStringLiteral("hidden directories below the themes root are never read"));
    }

    const QString xmlPath = directory.filePath(directory.dirName() + QLatin1String(".xml"));
    const ThemeFileParse parse = parseThemeFile(QFileInfo(xmlPath));
    if (parse.outcome == ThemeFileParse::NotRead) {
        refuseUnread(diagnosis, directory, xmlPath);
        return diagnosis;
    }
    if (parse.outcome != ThemeFileParse::Parsed) {
        refuseUnparsed(diagnosis, parse, xmlPath);
        return diagnosis;
    }
    // Before the theme is built, which reads its preview image.
    const QStringList unsafe = unsafeImages(emoticonsOf(parse.result), directory);
    if (!unsafe.isEmpty()) {
        for (const QString &file : unsafe)
            diagnosis.add(Finding::Detail, file);
        diagnosis.refuse(
            EmoticonThemeDiagnosis::UnsafeImages, QStringLiteral("unsafe image files:"));
        return diagnosis;
    }
    const QString identityGap = identityGaps(parse.result);
    if (!identityGap.isEmpty()) {
        diagnosis.refuse(EmoticonThemeDiagnosis::NoIdentity,
            QStringLiteral("%1 lacks %2").arg(xmlPath, identityGap));
        return diagnosis;
    }

    diagnosis.setTheme(emoticonThemeFromHashMap(parse.result));
    const EmoticonTheme theme = diagnosis.theme();
    if (!theme.isValid() || theme.filePathToCodeSequenceMapping().contains(QString())) {
        findEmoticonDefects(diagnosis, parse);
        return diagnosis;
    }
    findMisgivings(diagnosis, parse);
    if (theme.previewIconName().isEmpty()) {
        diagnosis.add(Finding::Warning,
            QStringLiteral("no emoticon has preview=\"true\": the theme gets no preview image"));
    }
    findMissingImages(diagnosis, directory);
    return diagnosis;
}
