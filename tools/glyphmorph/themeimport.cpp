// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "themeimport.h"

#include "theme/emoxmlparsinghandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <QSet>
#include <QUuid>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>

namespace Tool {

namespace {

// A description file is small; anything larger is not one.
constexpr qint64 maxDescriptionSize = 4 * 1024 * 1024;
constexpr int maxImageSide = 2048;

struct Emoticon
{
    QString image; // as the source names it
    QStringList codes;
    bool hidden = false;
};

struct SourceTheme
{
    QString name;
    QString previewImage;
    QList<Emoticon> emoticons;
};

bool readSmallFile(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 cannot be read").arg(path);
        return false;
    }
    if (file.size() > maxDescriptionSize) {
        *error = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxDescriptionSize);
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// KDE: <messaging-emoticon-map><emoticon file="NAME"><string>CODE</string>...</emoticon>...
bool readKde(const QString &directory, SourceTheme *theme, QString *error)
{
    QByteArray bytes;
    const QString path = QDir(directory).filePath(QStringLiteral("emoticons.xml"));
    if (!readSmallFile(path, &bytes, error))
        return false;
    theme->name = QFileInfo(directory).fileName();
    QXmlStreamReader xml(bytes);
    Emoticon *current = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("emoticon")) {
            theme->emoticons.append(
                { xml.attributes().value(QLatin1String("file")).toString(), {}, false });
            current = &theme->emoticons.last();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("emoticon")) {
            current = nullptr;
        } else if (xml.isStartElement() && xml.name() == QLatin1String("string") && current) {
            current->codes << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1: %2 (line %3, column %4)")
                     .arg(path, xml.errorString())
                     .arg(xml.lineNumber())
                     .arg(xml.columnNumber());
        return false;
    }
    return true;
}

// Pidgin: "Key=Value" lines, then sections; in a section "[! ]IMAGE CODE CODE ...", where "!"
// hides the smiley from the picker and a backslash takes the next character as it is.
QStringList pidginFields(const QString &line)
{
    QStringList fields;
    QString field;
    bool inField = false;
    for (int i = 0; i < line.size(); ++i) {
        QChar c = line.at(i);
        if (c.isSpace()) {
            if (inField)
                fields << field;
            field.clear();
            inField = false;
            continue;
        }
        if (c == QLatin1Char('\\') && i + 1 < line.size())
            c = line.at(++i);
        field += c;
        inField = true;
    }
    if (inField)
        fields << field;
    return fields;
}

bool readPidgin(const QString &directory, SourceTheme *theme, QString *error)
{
    QByteArray bytes;
    if (!readSmallFile(QDir(directory).filePath(QStringLiteral("theme")), &bytes, error))
        return false;
    theme->name = QFileInfo(directory).fileName();
    // The [default] section serves every protocol; other sections only add protocol variants.
    QString section;
    bool sawDefault = false;
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            sawDefault = sawDefault || section == QLatin1String("default");
            continue;
        }
        if (section.isEmpty()) {
            const int equals = line.indexOf(QLatin1Char('='));
            const QString key = line.left(equals).trimmed();
            const QString value = line.mid(equals + 1).trimmed();
            if (equals > 0 && key == QLatin1String("Name") && !value.isEmpty())
                theme->name = value;
            else if (equals > 0 && key == QLatin1String("Icon"))
                theme->previewImage = value;
            continue;
        }
        if (section != QLatin1String("default"))
            continue;
        Emoticon emoticon;
        if (line.startsWith(QLatin1Char('!'))) {
            emoticon.hidden = true;
            line = line.mid(1);
        }
        QStringList fields = pidginFields(line);
        if (fields.size() < 2)
            continue;
        emoticon.image = fields.takeFirst();
        emoticon.codes = fields;
        theme->emoticons.append(emoticon);
    }
    if (!sawDefault) {
        *error = QStringLiteral("%1/theme has no [default] section").arg(directory);
        return false;
    }
    return true;
}

// A directory or file name made of the name's letters and digits; others become "-".
QString fileNameFor(const QString &name)
{
    QString result;
    for (const QChar c : name)
        result += c.isLetterOrNumber() || c == QLatin1Char('_') ? c : QChar(QLatin1Char('-'));
    return result.isEmpty() ? QStringLiteral("imported") : result;
}

// The source image, found by its name with or without one of the usual suffixes.
QString sourceImage(const QString &directory, const QString &image)
{
    const QDir dir(directory);
    if (image.isEmpty() || image.contains(QLatin1Char('/')) || image.startsWith(QLatin1Char('.')))
        return QString();
    if (QFileInfo(dir.filePath(image)).isFile())
        return dir.filePath(image);
    for (const char *suffix : { ".png", ".svg", ".svgz", ".gif", ".jpg", ".jpeg", ".mng" }) {
        const QString path = dir.filePath(image + QLatin1String(suffix));
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

bool writePng(const QString &source, const QString &target, QString *reason)
{
    QImageReader reader(source);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > maxImageSide || size.height() > maxImageSide)) {
        *reason = QStringLiteral("larger than %1 pixels a side").arg(maxImageSide);
        return false;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        *reason = reader.errorString();
        return false;
    }
    if (image.width() > maxImageSide || image.height() > maxImageSide) {
        *reason = QStringLiteral("larger than %1 pixels a side").arg(maxImageSide);
        return false;
    }
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

bool writeDescription(const QString &path, const QString &uuid, const QString &name,
    const QList<QPair<QStringList, QString>> &emoticons, int preview, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("emoticon_theme"));
    xml.writeAttribute(QStringLiteral("theme_uuid"), uuid);
    xml.writeAttribute(QStringLiteral("theme_name"), name);
    for (int i = 0; i < emoticons.size(); ++i) {
        xml.writeStartElement(QStringLiteral("emoticon"));
        xml.writeAttribute(QStringLiteral("preview"),
            i == preview ? QStringLiteral("true") : QStringLiteral("false"));
        const QStringList &codes = emoticons.at(i).first;
        for (int c = 0; c < codes.size(); ++c) {
            xml.writeStartElement(QStringLiteral("charactercode"));
            xml.writeAttribute(QStringLiteral("default"),
                c == 0 ? QStringLiteral("true") : QStringLiteral("false"));
            xml.writeCharacters(codes.at(c));
            xml.writeEndElement();
        }
        for (const char *size : { "s", "m" }) {
            xml.writeStartElement(QStringLiteral("file"));
            xml.writeAttribute(QStringLiteral("size"), QLatin1String(size));
            xml.writeCharacters(emoticons.at(i).second);
            xml.writeEndElement();
        }
        xml.writeTextElement(QStringLiteral("positionindex"), QString::number(i));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    if (xml.hasError() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

FoundTheme findTheme(const QString &directory)
{
    const auto formatOf = [](const QString &dir) {
        const QDir d(dir);
        if (QFileInfo(d.filePath(d.dirName() + QLatin1String(".xml"))).isFile())
            return FoundTheme::Native;
        if (QFileInfo(d.filePath(QStringLiteral("emoticons.xml"))).isFile())
            return FoundTheme::Kde;
        if (QFileInfo(d.filePath(QStringLiteral("theme"))).isFile())
            return FoundTheme::Pidgin;
        return FoundTheme::None;
    };
    FoundTheme found { formatOf(directory), QDir(directory).absolutePath() };
    if (found.format != FoundTheme::None)
        return found;
    const QStringList entries
        = QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (entries.size() == 1 && QFileInfo(QDir(directory).filePath(entries.first())).isDir()) {
        const QString inner = QDir(directory).absoluteFilePath(entries.first());
        return { formatOf(inner), inner };
    }
    return found;
}

bool convertTheme(const FoundTheme &source, const QString &targetParent, QString *themeDirectory,
    QStringList *warnings, QString *error)
{
    SourceTheme theme;
    const bool read = source.format == FoundTheme::Kde ? readKde(source.directory, &theme, error)
        : source.format == FoundTheme::Pidgin          ? readPidgin(source.directory, &theme, error)
                                                       : false;
    if (!read) {
        if (error->isEmpty())
            *error = QStringLiteral("%1 holds no KDE or Pidgin theme").arg(source.directory);
        return false;
    }
    // Hidden smileys still turn codes into images; this format shows every emoticon in the
    // picker, so they come last there.
    std::stable_sort(theme.emoticons.begin(), theme.emoticons.end(),
        [](const Emoticon &a, const Emoticon &b) { return !a.hidden && b.hidden; });

    const QString directoryName = fileNameFor(theme.name);
    const QDir target(QDir(targetParent).filePath(directoryName));
    if (!QDir().mkpath(target.path())) {
        *error = QStringLiteral("%1 cannot be made").arg(target.path());
        return false;
    }
    QSet<QString> taken;
    QSet<QString> writtenImages;
    QList<QPair<QStringList, QString>> emoticons;
    int preview = 0;
    for (const Emoticon &emoticon : qAsConst(theme.emoticons)) {
        QStringList codes;
        for (const QString &code : emoticon.codes) {
            if (code.isEmpty() || code.size() > emoXMLParsingHandler::maxCodeLength)
                continue;
            if (taken.contains(code)) {
                warnings->append(
                    QStringLiteral("code \"%1\" of %2 left out: an earlier emoticon has it")
                        .arg(code, emoticon.image));
                continue;
            }
            taken.insert(code);
            codes << code;
        }
        if (codes.isEmpty())
            continue;
        const QString path = sourceImage(source.directory, emoticon.image);
        const QString png
            = fileNameFor(QFileInfo(emoticon.image).completeBaseName()) + QLatin1String(".png");
        QString reason = QStringLiteral("not found");
        if (!writtenImages.contains(png)) {
            if (path.isEmpty() || !writePng(path, target.filePath(png), &reason)) {
                warnings->append(
                    QStringLiteral("image %1 left out: %2").arg(emoticon.image, reason));
                continue;
            }
            writtenImages.insert(png);
        }
        if (!theme.previewImage.isEmpty() && emoticon.image == theme.previewImage)
            preview = int(emoticons.size());
        emoticons.append({ codes, png });
    }
    if (emoticons.isEmpty()) {
        *error = QStringLiteral("%1: no emoticon with a code and a readable image")
                     .arg(source.directory);
        return false;
    }
    const QString format
        = source.format == FoundTheme::Kde ? QStringLiteral("kde") : QStringLiteral("pidgin");
    // The same theme imported again gets the same UUID, so that installing it replaces the first.
    const QString uuid
        = QUuid::createUuidV5(QUuid(QStringLiteral("6ba7b811-9dad-11d1-80b4-00c04fd430c8")),
            QStringLiteral("glyphmorph-import:%1:%2").arg(format, theme.name))
              .toString(QUuid::WithoutBraces);
    *themeDirectory = target.path();
    return writeDescription(target.filePath(directoryName + QLatin1String(".xml")), uuid,
        theme.name, emoticons, preview, error);
}

} // namespace Tool
