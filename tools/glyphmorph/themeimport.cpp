// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "themeimport.h"

#include "rootchange.h"
#include "theme/emoxmlparsinghandler.h"
#include "tool.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
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
constexpr qint64 maxImageSize = 4 * 1024 * 1024;
// What the library's theme reader takes in all: 65536 characters of codes and their escaped forms.
constexpr int maxCodeCharacters = 65536;

struct Code
{
    QString text;
    qint64 line = 0;
};

struct Emoticon
{
    QString image; // as the source names it
    QList<Code> codes;
    qint64 line = 0;
    bool hidden = false;
};

struct SourceTheme
{
    QString file; // the description
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
bool readKde(SourceTheme *theme, QString *error)
{
    QByteArray bytes;
    if (!readSmallFile(theme->file, &bytes, error))
        return false;
    QXmlStreamReader xml(bytes);
    Emoticon *current = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("emoticon")) {
            Emoticon emoticon;
            emoticon.image = xml.attributes().value(QLatin1String("file")).toString();
            emoticon.line = xml.lineNumber();
            theme->emoticons.append(emoticon);
            current = &theme->emoticons.last();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("emoticon")) {
            current = nullptr;
        } else if (xml.isStartElement() && xml.name() == QLatin1String("string") && current) {
            const qint64 line = xml.lineNumber();
            current->codes.append(
                { xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed(), line });
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1: %2 (line %3, column %4)")
                     .arg(theme->file, xml.errorString())
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

// Pidgin reads its theme files as UTF-8, but editors on other systems save them as UTF-16.
QString pidginText(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    bool utf16 = false;
    bool littleEndian = false;
    qsizetype start = 0;
    if (size >= 2
        && ((data[0] == 0xff && data[1] == 0xfe) || (data[0] == 0xfe && data[1] == 0xff))) {
        utf16 = true;
        littleEndian = data[0] == 0xff;
        start = 2;
    } else if (size >= 2 && (data[0] == 0) != (data[1] == 0)) {
        // No byte order mark, but ASCII text with a zero byte beside each character.
        utf16 = true;
        littleEndian = data[1] == 0;
    } else if (size >= 3 && data[0] == 0xef && data[1] == 0xbb && data[2] == 0xbf) {
        start = 3;
    }
    if (!utf16)
        return decode(bytes.constData() + start, size - start);
    QString text((size - start) / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const unsigned char first = data[start + 2 * i];
        const unsigned char second = data[start + 2 * i + 1];
        text[int(i)]
            = QChar(littleEndian ? char16_t(first | second << 8) : char16_t(first << 8 | second));
    }
    return text;
}

bool readPidgin(SourceTheme *theme, QString *error)
{
    QByteArray bytes;
    if (!readSmallFile(theme->file, &bytes, error))
        return false;
    // The [default] section serves every protocol; other sections only add protocol variants.
    QString section;
    bool sawDefault = false;
    const QStringList lines = pidginText(bytes).split(QLatin1Char('\n'));
    for (qsizetype number = 0; number < lines.size(); ++number) {
        QString line = lines.at(number).trimmed();
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
        emoticon.line = number + 1;
        if (line.startsWith(QLatin1Char('!'))) {
            emoticon.hidden = true;
            line = line.mid(1);
        }
        QStringList fields = pidginFields(line);
        if (fields.size() < 2)
            continue;
        emoticon.image = fields.takeFirst();
        for (const QString &field : std::as_const(fields))
            emoticon.codes.append({ field, emoticon.line });
        theme->emoticons.append(emoticon);
    }
    if (!sawDefault) {
        *error = QStringLiteral("%1 has no [default] section").arg(theme->file);
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

// False with @p reason when the image is not taken; false with @p error when a write failed.
bool writePng(const QString &source, const QString &target, QString *reason, QString *error)
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
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        *reason = QStringLiteral("cannot be converted to PNG");
        return false;
    }
    if (png.size() > maxImageSize) {
        *reason = QStringLiteral("larger than 4 MiB as PNG, which the library does not read");
        return false;
    }
    testPoint("converting");
    return writeNewFile(target, png, error);
}

// What an XML 1.0 document cannot hold, escaped or not.
bool hasControlCharacter(const QString &code)
{
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t c = code.at(i).unicode();
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xfffe || c == 0xffff)
            return true;
        if (QChar::isHighSurrogate(c) && i + 1 < code.size()
            && QChar::isLowSurrogate(code.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c))
            return true;
    }
    return false;
}

QString xmlText(const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    // A reader turns a carriage return into a line feed unless it is a reference.
    escaped.replace(QLatin1Char('\r'), QLatin1String("&#13;"));
    return escaped;
}

QByteArray emoticonXml(const QStringList &codes, const QString &image, int position, bool preview)
{
    QString xml = QStringLiteral("  <emoticon preview=\"%1\">\n")
                      .arg(preview ? QLatin1String("true") : QLatin1String("false"));
    for (int c = 0; c < codes.size(); ++c) {
        xml += QStringLiteral("    <charactercode default=\"%1\">%2</charactercode>\n")
                   .arg(c == 0 ? QLatin1String("true") : QLatin1String("false"),
                       xmlText(codes.at(c)));
    }
    for (const char *size : { "s", "m" })
        xml += QStringLiteral("    <file size=\"%1\">%2</file>\n").arg(QLatin1String(size), image);
    xml += QStringLiteral("    <positionindex>%1</positionindex>\n  </emoticon>\n").arg(position);
    return xml.toUtf8();
}

QString quoted(const QString &code)
{
    return code.size() > 40
        ? QStringLiteral("\"%1…\" (%2 characters)").arg(code.left(20)).arg(code.size())
        : QStringLiteral("\"%1\"").arg(code);
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
    FoundTheme found { formatOf(directory), QDir(directory).absolutePath(), {} };
    if (found.format != FoundTheme::None)
        return found;
    QList<FoundTheme> inner;
    const QStringList entries
        = QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString &entry : entries) {
        const QString path = QDir(directory).absoluteFilePath(entry);
        if (!QFileInfo(path).isSymLink() && formatOf(path) != FoundTheme::None)
            inner.append({ formatOf(path), path, {} });
    }
    if (inner.size() == 1)
        return inner.first();
    for (const FoundTheme &theme : std::as_const(inner))
        found.several << QDir(theme.directory).dirName();
    return found;
}

bool convertTheme(const FoundTheme &source, const QString &name, const QString &targetParent,
    Conversion *conversion, QString *error)
{
    SourceTheme theme;
    theme.name = name;
    theme.file = QDir(source.directory)
                     .filePath(source.format == FoundTheme::Kde ? QStringLiteral("emoticons.xml")
                                                                : QStringLiteral("theme"));
    const bool read = source.format == FoundTheme::Kde ? readKde(&theme, error)
        : source.format == FoundTheme::Pidgin          ? readPidgin(&theme, error)
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

    QStringList &warnings = conversion->warnings;
    const auto warn = [&warnings, &theme](qint64 line, const QString &text) {
        warnings << QStringLiteral("%1: line %2: %3").arg(theme.file).arg(line).arg(text);
    };
    const QString directoryName = fileNameFor(theme.name);
    const QDir target(QDir(targetParent).filePath(directoryName));
    if (!QDir().mkpath(target.path())) {
        *error = QStringLiteral("%1 cannot be made: %2").arg(target.path(), systemErrorText(errno));
        return false;
    }
    QHash<QString, qint64> taken; // a code to the line of the emoticon that has it
    QHash<QString, QString> pngOf; // a source image to its PNG
    QSet<QString> pngNames;
    QByteArray emoticonsXml;
    // The library's budget for the characters of all codes with their escaped forms.
    int codeCharacters = 0;
    int pastBudget = 0;
    qint64 firstPastBudget = 0;
    int pastSize = 0;
    qint64 firstPastSize = 0;
    int preview = -1;
    const QString format
        = source.format == FoundTheme::Kde ? QStringLiteral("kde") : QStringLiteral("pidgin");
    // The same theme imported again gets the same UUID, so that installing it replaces the first.
    const QString uuid
        = QUuid::createUuidV5(QUuid(QStringLiteral("6ba7b811-9dad-11d1-80b4-00c04fd430c8")),
            QStringLiteral("glyphmorph-import:%1:%2").arg(format, theme.name))
              .toString(QUuid::WithoutBraces);
    const QByteArray head = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                           "<emoticon_theme theme_uuid=\"%1\" theme_name=\"%2\">\n")
                                .arg(uuid, xmlText(theme.name))
                                .toUtf8();
    const QByteArray tail = "</emoticon_theme>\n";
    for (const Emoticon &emoticon : std::as_const(theme.emoticons)) {
        if (pastSize > 0) {
            ++pastSize;
            continue;
        }
        QStringList codes;
        int characters = 0;
        int dropped = 0;
        QSet<QString> own;
        for (const Code &code : emoticon.codes) {
            if (code.text.isEmpty())
                continue;
            if (code.text.size() > emoXMLParsingHandler::maxCodeLength) {
                warn(code.line,
                    QStringLiteral("code %1 left out: codes have at most %2 characters")
                        .arg(quoted(code.text))
                        .arg(emoXMLParsingHandler::maxCodeLength));
                ++dropped;
                continue;
            }
            if (hasControlCharacter(code.text)) {
                warn(code.line,
                    QStringLiteral("code %1 left out: it has a control character")
                        .arg(quoted(code.text)));
                ++dropped;
                continue;
            }
            if (own.contains(code.text)) {
                warn(code.line,
                    QStringLiteral("code %1 is given twice for the same emoticon")
                        .arg(quoted(code.text)));
                continue;
            }
            if (taken.contains(code.text)) {
                warn(code.line,
                    QStringLiteral("code %1 of %2 left out: the emoticon on line %3 has it")
                        .arg(quoted(code.text), emoticon.image)
                        .arg(taken.value(code.text)));
                ++dropped;
                continue;
            }
            const QString escaped = code.text.toHtmlEscaped();
            const int cost = int(code.text.size() + (escaped != code.text ? escaped.size() : 0));
            if (cost > maxCodeCharacters - codeCharacters - characters) {
                if (pastBudget++ == 0)
                    firstPastBudget = code.line;
                ++dropped;
                continue;
            }
            characters += cost;
            own.insert(code.text);
            codes << code.text;
        }
        if (codes.isEmpty()) {
            if (dropped == 0)
                warn(emoticon.line,
                    QStringLiteral("image %1 left out: no code names it").arg(emoticon.image));
            ++conversion->emoticonsLeftOut;
            continue;
        }
        const QString path = sourceImage(source.directory, emoticon.image);
        QString png = pngOf.value(path);
        if (png.isEmpty()) {
            // Each source image its own file: a.png and a.gif, or "x y" and "x-y", must not meet.
            const QString base = fileNameFor(QFileInfo(emoticon.image).completeBaseName());
            png = base + QLatin1String(".png");
            for (int n = 2; pngNames.contains(png); ++n)
                png = QStringLiteral("%1-%2.png").arg(base).arg(n);
            QString reason = QStringLiteral("not found");
            if (path.isEmpty() || !writePng(path, target.filePath(png), &reason, error)) {
                if (!error->isEmpty())
                    return false;
                warn(emoticon.line,
                    QStringLiteral("image %1 left out: %2").arg(emoticon.image, reason));
                ++conversion->emoticonsLeftOut;
                continue;
            }
            pngNames.insert(png);
            pngOf.insert(path, png);
        }
        const bool isPreview
            = preview < 0 && (theme.previewImage.isEmpty() || emoticon.image == theme.previewImage);
        const QByteArray xml = emoticonXml(codes, png, conversion->emoticons, isPreview);
        if (head.size() + emoticonsXml.size() + xml.size() + tail.size() > maxDescriptionSize) {
            firstPastSize = emoticon.line;
            ++pastSize;
            continue;
        }
        emoticonsXml += xml;
        if (isPreview)
            preview = conversion->emoticons;
        for (const QString &code : std::as_const(codes))
            taken.insert(code, emoticon.line);
        codeCharacters += characters;
        conversion->codesLeftOut += dropped;
        ++conversion->emoticons;
    }
    if (pastBudget > 0) {
        warn(firstPastBudget,
            QStringLiteral("%1 from here on left out: the codes of a theme take at most %2 "
                           "characters")
                .arg(pastBudget == 1 ? QStringLiteral("1 code")
                                     : QStringLiteral("%1 codes").arg(pastBudget))
                .arg(maxCodeCharacters));
    }
    if (pastSize > 0) {
        warn(firstPastSize,
            QStringLiteral("%1 from here on left out: a theme's description has at most 4 MiB")
                .arg(emoticonsText(pastSize)));
        conversion->emoticonsLeftOut += pastSize;
    }
    if (conversion->emoticons == 0) {
        *error = QStringLiteral("%1: no emoticon with a code and a readable image").arg(theme.file);
        return false;
    }
    if (preview < 0) {
        const int first = int(emoticonsXml.indexOf("preview=\"false\""));
        emoticonsXml.replace(first, 15, "preview=\"true\"");
    }
    conversion->directory = target.path();
    return writeNewFile(
        target.filePath(directoryName + QLatin1String(".xml")), head + emoticonsXml + tail, error);
}

} // namespace Tool
