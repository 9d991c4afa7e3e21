// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemefactory.h"

#include "boundedfile_p.h"
#include "builtinemoji_p.h"
#include "emojidata.h"
#include "emosequencesearchtree.h"
#include "emosequencesearchtree_p.h"
#include "emoticonparsingitem.h"
#include "emoxmlparsinghandler.h"
#include "themefileparse_p.h"

#include <QBuffer>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlInputSource>
#include <QXmlSimpleReader>

namespace {

// The reader's own limit stops chains of nested entities ("billion laughs"), but not a long entity
// referenced many times, which expands to far more than the file holds. Theme files declare no
// entities, so a file that does is refused. Also keeps where the reader stopped and why.
class ReadingGuard : public QXmlDefaultHandler
{
public:
    bool internalEntityDecl(const QString &, const QString &) override { return refuse(); }
    bool externalEntityDecl(const QString &, const QString &, const QString &) override
    {
        return refuse();
    }
    bool fatalError(const QXmlParseException &exception) override
    {
        message = exception.message();
        line = exception.lineNumber();
        column = exception.columnNumber();
        return false;
    }

    bool declaresEntities = false;
    QString message;
    qint64 line = 0;
    qint64 column = 0;

private:
    bool refuse()
    {
        declaresEntities = true;
        return false;
    }
};

QString usableFileText(const QHash<QString, QVariant> &files, const QString &size)
{
    // The medium image is optional: an unusable one leaves the small image to the picker.
    const QString text = files.value(size).toString();
    return isUsableFileText(text) ? text : QString();
}

template<typename Char> const Char *skipPast(const Char *p, const Char *end, const char *terminator)
{
    const size_t length = std::strlen(terminator);
    const Char *found = std::search(
        p, end, terminator, terminator + length, [](Char c, char t) { return c == Char(t); });
    return found == end ? end : found + length;
}

template<typename Char> bool startsWith(const Char *p, const Char *end, const char *prefix)
{
    for (; *prefix; ++prefix, ++p) {
        if (p == end || *p != Char(*prefix))
            return false;
    }
    return true;
}

// Counts open elements without recursion. Exact on well-formed markup; past the first error the
// count may be anything, which does not matter: the parser stops at that error. Returns the line of
// the first element past @p limit, 0 when there is none.
template<typename Char> qint64 lineNestedDeeperThan(const Char *begin, const Char *end, int limit)
{
    const Char *p = begin;
    int depth = 0;
    while ((p = std::find(p, end, Char('<'))) != end) {
        ++p;
        if (p == end)
            break;
        if (*p == Char('/')) {
            --depth;
            continue;
        }
        if (*p == Char('?')) {
            p = skipPast(p, end, "?>");
            continue;
        }
        if (*p == Char('!')) {
            if (startsWith(p, end, "!--"))
                p = skipPast(p, end, "-->");
            else if (startsWith(p, end, "![CDATA["))
                p = skipPast(p, end, "]]>");
            else // a document type declaration: its internal subset ends with "]>"
                p = skipPast(p, end,
                    std::find(p, end, Char('[')) < std::find(p, end, Char('>')) ? "]>" : ">");
            continue;
        }
        // A start tag ends at the first ">" outside its attribute values.
        Char quote = 0;
        for (; p != end && (quote || *p != Char('>')); ++p) {
            if (quote)
                quote = *p == quote ? Char(0) : quote;
            else if (*p == Char('"') || *p == Char('\''))
                quote = *p;
        }
        if (p == end)
            break;
        if (p[-1] != Char('/') && ++depth > limit)
            return 1 + std::count(begin, p, Char('\n'));
    }
    return 0;
}

// The SAX reader descends once per open element, so nesting alone can exhaust the stack.
qint64 lineNestedDeeperThan(const QByteArray &xml, int limit)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(xml.constData());
    const int size = xml.size();
    // UTF-16, told by its byte order mark or by the NUL beside the first "<".
    const bool littleEndian = size >= 2
        && ((bytes[0] == 0xff && bytes[1] == 0xfe) || (bytes[0] == '<' && bytes[1] == 0));
    const bool bigEndian = size >= 2
        && ((bytes[0] == 0xfe && bytes[1] == 0xff) || (bytes[0] == 0 && bytes[1] == '<'));
    if (!littleEndian && !bigEndian)
        return lineNestedDeeperThan(bytes, bytes + size, limit);
    std::vector<char16_t> text(size_t(size / 2));
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char first = bytes[2 * i];
        const unsigned char second = bytes[2 * i + 1];
        text[i] = littleEndian ? char16_t(first | second << 8) : char16_t(first << 8 | second);
    }
    return lineNestedDeeperThan(text.data(), text.data() + text.size(), limit);
}

// Paths without a suffix name the PNG files that the cache holds for them.
QString resolvedImagePath(const QString &path)
{
    return path.endsWith(QFileInfo(path).baseName()) ? path + QLatin1String(".png") : path;
}

// The Unicode emoji of each code that has one, for emoji text: the built-in theme's codes stand
// for theirs in any theme, and a code that is an emoji for itself.
QHash<QString, QString> emojiOfCodes(const QHash<QString, QString> &codes)
{
    const QHash<QString, QString> builtIn = BuiltInEmoji::forCodes();
    QHash<QString, QString> emoji;
    for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
        const QString &code = it.key();
        const auto known = builtIn.constFind(code);
        if (known != builtIn.cend())
            emoji.insert(code, *known);
        else if (!code.isEmpty() && code.at(0).unicode() >= 0x80 && EmojiData().isEmoji(code))
            emoji.insert(code, code);
    }
    return emoji;
}

} // namespace

bool isUsableFileText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    const QStringList parts = text.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

EmoticonDefect emoticonDefect(const EmoticonParsingItem &item)
{
    const QString small = QStringLiteral("s");
    if (item.characterCodes.isEmpty())
        return EmoticonDefect::NoCode;
    if (!item.files.contains(small))
        return EmoticonDefect::NoSmallImage;
    if (!isUsableFileText(item.files.value(small).toString()))
        return EmoticonDefect::UnusableSmallImage;
    return EmoticonDefect::None;
}

ThemeFileParse parseThemeFile(const QFileInfo &file)
{
    ThemeFileParse parse;
    QByteArray content;
    if (!BoundedFile::read(file.filePath(), EmoticonThemeFactory::maxThemeFileSize, &content))
        return parse;
    parse.line = lineNestedDeeperThan(content, EmoticonThemeFactory::maxThemeFileDepth);
    if (parse.line) {
        parse.outcome = ThemeFileParse::TooDeep;
        return parse;
    }
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);

    emoXMLParsingHandler handler(file.absolutePath());
    ReadingGuard guard;
    QXmlInputSource source(&buffer);
    QXmlSimpleReader reader;
    reader.setContentHandler(&handler);
    reader.setDeclHandler(&guard);
    reader.setErrorHandler(&guard);
    if (!reader.parse(&source)) {
        parse.outcome = guard.declaresEntities ? ThemeFileParse::DeclaresEntities
                                               : ThemeFileParse::NotWellFormed;
        parse.error = guard.message;
        parse.line = guard.line;
        parse.column = guard.column;
        return parse;
    }
    parse.outcome = ThemeFileParse::Parsed;
    parse.result = handler.mappingTableExtractionResult();
    parse.sources = handler.emoticonSources();
    parse.droppedCodes = handler.droppedCodes();
    return parse;
}

EmoticonTheme EmoticonThemeFactory::emoticonThemeFromXML(const QFileInfo &file)
{
    const ThemeFileParse parse = parseThemeFile(file);
    if (parse.outcome != ThemeFileParse::Parsed)
        return EmoticonTheme();
    return emoticonThemeFromHashMap(parse.result);
}

EmoticonTheme EmoticonThemeFactory::emoticonThemeFromXML(const QString &filePath)
{
    return emoticonThemeFromXML(QFileInfo(filePath));
}

EmoticonTheme EmoticonThemeFactory::defaultEmoticonTheme()
{
    return emoticonThemeFromXML(QStringLiteral(":/default_theme_resources/default_theme.xml"));
}

EmoticonTheme EmoticonThemeFactory::emoticonThemeFromHashMap(QHash<QString, QVariant> map)
{
    EmoticonTheme theme;
    for (const char *key : { "themeName", "serviceUUID", "themeUUID", "emoticons" }) {
        if (!map.contains(QLatin1String(key)))
            return theme;
    }
    const QString baseDirectory = map.value(QStringLiteral("baseDirectory")).toString();
    const QVariant emoticons = map.value(QStringLiteral("emoticons"));
    const QList<EmoticonParsingItem> items
        = emoticons.userType() == qMetaTypeId<QList<EmoticonParsingItem>>()
        ? emoticons.value<QList<EmoticonParsingItem>>()
        : QList<EmoticonParsingItem>();
    theme.setServiceUUID(map.value(QStringLiteral("serviceUUID")).toString());
    theme.setThemeUUID(map.value(QStringLiteral("themeUUID")).toString());
    theme.setThemeName(map.value(QStringLiteral("themeName")).toString());

    const QString small = QStringLiteral("s");
    const QString medium = QStringLiteral("m");
    QString previewIcon;
    QHash<QString, QString> codeToFile;
    QHash<QString, QString> fileToCode;
    QHash<QString, QString> fileToPicker;
    QHash<QString, QString> codeToPriority;
    for (const EmoticonParsingItem &item : items) {
        QString resolvedPath;
        QString pickerImage;
        QString defaultCode;
        if (emoticonDefect(item) == EmoticonDefect::None) {
            const QString smallFile = item.files.value(small).toString();
            const QString mediumFile = usableFileText(item.files, medium);
            const QString pickerFile = mediumFile.isNull() ? smallFile : mediumFile;
            const QString imagePath = baseDirectory + smallFile;
            bool found = false;
            for (auto code = item.characterCodes.cbegin(); code != item.characterCodes.cend();
                 ++code) {
                codeToFile.insert(code.key(), imagePath);
                if (!code.value().toBool() && found)
                    continue;
                const QFileInfo picker(pickerFile);
                pickerImage = picker.baseName();
                if (item.preview)
                    previewIcon = baseDirectory + picker.fileName();
                defaultCode = code.key();
                resolvedPath = resolvedImagePath(imagePath);
                found = true;
            }
        }
        fileToPicker.insert(resolvedPath, pickerImage);
        fileToCode.insert(resolvedPath, defaultCode);
        codeToPriority.insert(defaultCode, item.positionIndex);
    }

    theme.setPreviewIconName(previewIcon);
    theme.setCodeSequenceToFilepathMapping(codeToFile);
    theme.setFilepathToCodeSequenceMapping(fileToCode);
    theme.setFilepathToPickerImageMapping(fileToPicker);
    theme.setcodeSequenceToPriorityMapping(codeToPriority);
    auto *tree = new emoSequenceSearchTree(theme.codeSequenceToFilepathMapping());
    emoSequenceSearchTreePrivate::get(tree)->setEmojiText(emojiOfCodes(codeToFile));
    theme.setCharacterCodeSequenceSearchTree(tree);
    if (theme.isValid())
        setPreviewPixmap(theme);
    return theme;
}

QT_WARNING_POP
