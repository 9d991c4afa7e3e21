// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojitables_p.h"

#include "boundedfile_p.h"
#include "emojilocations_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <utility>

// Q_INIT_RESOURCE declares the resource's initialiser, which lives in the global namespace.
static bool initEmojiResource()
{
    Q_INIT_RESOURCE(glyphmorph_emoji);
    return true;
}

namespace EmojiTables {

namespace {

// The largest table file read, packed and unpacked; CLDR's largest locale is under 1 MB.
constexpr qint64 maxPackedSize = 8 * 1024 * 1024;
constexpr quint32 maxUnpackedSize = 32 * 1024 * 1024;

QByteArray builtInFile(const char *name)
{
    static const bool registered = initEmojiResource();
    Q_UNUSED(registered)
    QFile file(QStringLiteral(":/glyphmorph/emoji/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** A field of a table line, pointing into the table's text. */
struct Field
{
    const char *data = nullptr;
    int size = 0;

    bool operator==(const char *other) const
    {
        return size == int(std::strlen(other)) && std::memcmp(data, other, size_t(size)) == 0;
    }
    QString text() const { return QString::fromUtf8(data, size); }
};

/** Calls @p f with the tab-separated fields of every line that is neither empty nor a comment,
 *  and their number; a fourth field takes the rest of the line. Tables are read without a copy
 *  of each line: the English one alone has thousands. */
template<typename F> void forEachLine(const QByteArray &text, F f)
{
    const char *at = text.constData();
    const char *const end = at + text.size();
    while (at < end) {
        const char *lineEnd = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)));
        if (!lineEnd)
            lineEnd = end;
        if (lineEnd > at && *at != '#') {
            Field fields[4];
            int count = 0;
            for (const char *field = at;;) {
                const char *tab = count == 3
                    ? nullptr
                    : static_cast<const char *>(std::memchr(field, '\t', size_t(lineEnd - field)));
                fields[count++] = { field, int((tab ? tab : lineEnd) - field) };
                if (!tab)
                    break;
                field = tab + 1;
            }
            f(fields, count);
        }
        at = lineEnd + 1;
    }
}

/** "1F44D 1F3FD" as text; null when a field is not a list of code points. */
QString fromHex(const Field &field)
{
    QString text;
    text.reserve(field.size / 2);
    uint c = 0;
    int digits = 0;
    for (int i = 0; i <= field.size; ++i) {
        const char byte = i < field.size ? field.data[i] : ' ';
        if (byte == ' ') {
            if (digits == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                return QString();
            if (QChar::requiresSurrogates(c)) {
                text += QChar(QChar::highSurrogate(c));
                text += QChar(QChar::lowSurrogate(c));
            } else {
                text += QChar(char16_t(c));
            }
            c = 0;
            digits = 0;
            continue;
        }
        const int value = byte >= '0' && byte <= '9' ? byte - '0'
            : byte >= 'A' && byte <= 'F'             ? byte - 'A' + 10
            : byte >= 'a' && byte <= 'f'             ? byte - 'a' + 10
                                                     : -1;
        if (value < 0 || ++digits > 6)
            return QString();
        c = c * 16 + uint(value);
    }
    return text;
}

template<typename F> void forEachCodePoint(const QString &text, F f)
{
    for (int i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i).unicode(), text.at(i + 1).unicode());
            f(c, i, 2);
            ++i;
        } else {
            f(c, i, 1);
        }
    }
}

Sequences::Property parseRanges(const Field &field)
{
    Sequences::Property property;
    const QList<QByteArray> ranges = QByteArray::fromRawData(field.data, field.size).split(' ');
    for (const QByteArray &range : ranges) {
        const int dots = range.indexOf("..");
        const uint first = range.left(dots < 0 ? range.size() : dots).toUInt(nullptr, 16);
        const uint last = dots < 0 ? first : range.mid(dots + 2).toUInt(nullptr, 16);
        property.ranges.append({ char32_t(first), char32_t(last) });
    }
    std::sort(property.ranges.begin(), property.ranges.end());
    return property;
}

Sequences::Status statusOf(char letter)
{
    switch (letter) {
    case 'm':
        return Sequences::Status::Minimally;
    case 'u':
        return Sequences::Status::Unqualified;
    case 'c':
        return Sequences::Status::Component;
    default:
        return Sequences::Status::Fully;
    }
}

Sequences loadSequences()
{
    Sequences table;
    QVector<QString> mapsTo;
    const QByteArray text = builtInFile("sequences.txt");
    table.entries.reserve(text.count('\n'));
    table.byText.reserve(table.entries.capacity());
    forEachLine(text, [&](const Field *fields, int count) {
        if (count < 2)
            return;
        if (fields[0] == "@emoji") {
            table.emojiVersion = fields[1].text();
        } else if (fields[0] == "@group") {
            table.groups.append(fields[1].text());
        } else if (fields[0] == "@subgroup") {
            table.subgroups.append(fields[1].text());
        } else if (count >= 3) {
            Sequences::Entry entry;
            entry.text = fromHex(fields[0]);
            if (entry.text.isEmpty())
                return;
            entry.status = statusOf(fields[1].size > 0 ? fields[1].data[0] : 'f');
            entry.version = fields[2].text();
            entry.group = table.groups.size() - 1;
            entry.subgroup = table.subgroups.size() - 1;
            entry.fullyQualified = table.entries.size();
            mapsTo.append(count > 3 ? fromHex(fields[3]) : QString());
            table.byText.insert(entry.text, table.entries.size());
            table.entries.append(entry);
        }
    });
    table.byKey.reserve(table.entries.size());
    for (int i = 0; i < table.entries.size(); ++i) {
        Sequences::Entry &entry = table.entries[i];
        if (!mapsTo.at(i).isEmpty())
            entry.fullyQualified = table.byText.value(mapsTo.at(i), i);
        if (entry.status == Sequences::Status::Fully
            || entry.status == Sequences::Status::Component)
            table.byKey.insert(keyOf(entry.text), i);
        if (entry.status == Sequences::Status::Fully)
            table.emoji.append(i);
    }
    for (int i : std::as_const(table.emoji)) {
        const QString key = keyOf(table.entries.at(i).text);
        const QStringList tones = tonesOf(key);
        if (tones.size() != 1 || !isToned(key))
            continue;
        QVector<int> &variants = table.toneVariants[untoned(key)];
        variants.resize(5);
        const char32_t tone = QChar::surrogateToUcs4(tones.first().at(0), tones.first().at(1));
        variants[int(tone - 0x1F3FB)] = i + 1; // 0 marks a gap
    }
    for (auto it = table.toneVariants.begin(); it != table.toneVariants.end();) {
        QVector<int> &variants = it.value();
        if (variants.contains(0)) {
            it = table.toneVariants.erase(it);
            continue;
        }
        for (int &index : variants)
            --index;
        ++it;
    }

    forEachLine(builtInFile("properties.txt"), [&](const Field *fields, int count) {
        if (count < 2)
            return;
        const Sequences::Property property = parseRanges(fields[1]);
        if (fields[0] == "Emoji")
            table.emojiProperty = property;
        else if (fields[0] == "Emoji_Presentation")
            table.presentation = property;
        else if (fields[0] == "Emoji_Modifier")
            table.modifier = property;
        else if (fields[0] == "Emoji_Modifier_Base")
            table.modifierBase = property;
        else if (fields[0] == "Emoji_Component")
            table.component = property;
        else if (fields[0] == "Extended_Pictographic")
            table.pictographic = property;
    });
    return table;
}

ShortcodeTable loadShortcodes(const char *file)
{
    ShortcodeTable table;
    forEachLine(builtInFile(file), [&](const Field *fields, int count) {
        const QString sequence = fromHex(fields[0]);
        if (count < 2 || sequence.isEmpty())
            return;
        const QStringList codes = fields[1].text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &code : codes)
            table.sequenceOf.insert(code, sequence);
        table.codesOf.insert(keyOf(sequence), codes);
    });
    return table;
}

/** Object files anywhere in the process can tell where their library is; this is one address
 *  in this library's. */
void libraryAnchor() { }

} // namespace

QString keyOf(const QString &sequence)
{
    if (!sequence.contains(QChar(0xFE0F)))
        return sequence;
    QString key = sequence;
    key.remove(QChar(0xFE0F));
    return key;
}

QString untoned(const QString &key)
{
    QString out;
    forEachCodePoint(key, [&](char32_t c, int at, int length) {
        if (!isTone(c))
            out.append(key.constData() + at, length);
    });
    return out.isEmpty() ? key : out;
}

QStringList tonesOf(const QString &key)
{
    QStringList tones;
    forEachCodePoint(key, [&](char32_t c, int at, int length) {
        const QString tone = key.mid(at, length);
        if (isTone(c) && !tones.contains(tone))
            tones.append(tone);
    });
    return tones;
}

bool isToned(const QString &key)
{
    bool tone = false;
    bool other = false;
    forEachCodePoint(key, [&](char32_t c, int, int) { (isTone(c) ? tone : other) = true; });
    return tone && other;
}

bool Sequences::Property::contains(char32_t c) const
{
    const auto it = std::upper_bound(ranges.cbegin(), ranges.cend(), c,
        [](char32_t value, const QPair<char32_t, char32_t> &range) { return value < range.first; });
    return it != ranges.cbegin() && c <= (it - 1)->second;
}

const Sequences &Sequences::builtIn()
{
    static const Sequences table = loadSequences();
    return table;
}

bool LocaleTable::parse(const QByteArray &text)
{
    bool named = false;
    forEachLine(text, [&](const Field *fields, int count) {
        if (fields[0] == "@locale" && count >= 2) {
            locale = fields[1].text();
            named = true;
        } else if (fields[0] == "@parent" && count >= 2) {
            parent = fields[1].text();
        } else if (fields[0] == "@tones" && count >= 3) {
            toneSeparator = fields[1].text();
            toneJoiner = fields[2].text();
        } else if (count >= 3) {
            const QString key = fromHex(fields[0]);
            if (key.isEmpty())
                return;
            if (fields[1].size > 0)
                names.insert(key, fields[1].text());
            if (fields[2].size > 0)
                keywords.insert(key, fields[2].text());
        }
    });
    return named;
}

QStringList LocaleTable::keywordsOf(const QString &key) const
{
    const auto it = keywords.constFind(key);
    return it == keywords.cend() ? QStringList() : it.value().split(QLatin1Char('|'));
}

const LocaleTable &LocaleTable::english()
{
    static const LocaleTable table = [] {
        LocaleTable english;
        english.parse(builtInFile("annotations-en.txt"));
        return english;
    }();
    return table;
}

const ShortcodeTable &ShortcodeTable::builtIn(int set)
{
    // Each set is read the first time it is asked for, not with the others.
    switch (set) {
    case 1: {
        static const ShortcodeTable slack = loadShortcodes("shortcodes-slack.txt");
        return slack;
    }
    case 2: {
        static const ShortcodeTable cldr = loadShortcodes("shortcodes-cldr.txt");
        return cldr;
    }
    default: {
        static const ShortcodeTable github = loadShortcodes("shortcodes-github.txt");
        return github;
    }
    }
}

QMap<QString, QString> builtInVersions()
{
    QMap<QString, QString> versions;
    forEachLine(builtInFile("versions.txt"), [&](const Field *fields, int count) {
        if (count >= 2)
            versions.insert(fields[0].text(), fields[1].text());
    });
    return versions;
}

QString defaultLocaleDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("GLYPHMORPH_EMOJI_LOCALE_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    Dl_info info;
    if (dladdr(reinterpret_cast<void *>(&libraryAnchor), &info) && info.dli_fname) {
        const QString libraryDirectory
            = QFileInfo(QFile::decodeName(info.dli_fname)).canonicalPath();
        // Only the library in its build tree uses the build tree's tables; an installed copy of
        // the same build never does.
        if (!libraryDirectory.isEmpty()
            && libraryDirectory
                == QFileInfo(QStringLiteral(GLYPHMORPH_EMOJI_BUILD_LIBRARY_DIR))
                       .canonicalFilePath()) {
            return QStringLiteral(GLYPHMORPH_EMOJI_BUILD_LOCALE_DIR);
        }
        // Relative to the library, so that a package installed under another prefix finds its own.
        const QString relative = QDir::cleanPath(
            libraryDirectory + QStringLiteral("/" GLYPHMORPH_EMOJI_RELATIVE_LOCALE_DIR));
        if (!libraryDirectory.isEmpty() && QFileInfo(relative).isDir())
            return relative;
    }
    return QStringLiteral(GLYPHMORPH_EMOJI_INSTALLED_LOCALE_DIR);
}

bool loadLocale(const QString &directory, const QString &locale, LocaleTable *table)
{
    static const QRegularExpression localeName(QStringLiteral("^[A-Za-z0-9]+(_[A-Za-z0-9]+)*$"));
    if (!localeName.match(locale).hasMatch())
        return false;
    QByteArray packed;
    if (!BoundedFile::read(
            directory + QLatin1Char('/') + locale + QStringLiteral(".qz"), maxPackedSize, &packed)
        || packed.size() < 4) {
        return false;
    }
    // qUncompress allocates what the first four bytes claim, so the claim is checked first.
    const auto *size = reinterpret_cast<const uchar *>(packed.constData());
    const quint32 claimed = quint32(size[0]) << 24 | quint32(size[1]) << 16 | quint32(size[2]) << 8
        | quint32(size[3]);
    if (claimed == 0 || claimed > maxUnpackedSize)
        return false;
    const QByteArray text = qUncompress(packed);
    LocaleTable parsed;
    if (text.isEmpty() || !parsed.parse(text) || parsed.locale != locale)
        return false;
    *table = std::move(parsed);
    return true;
}

QStringList installedLocales(const QString &directory)
{
    QStringList locales;
    const QStringList files
        = QDir(directory).entryList({ QStringLiteral("*.qz") }, QDir::Files, QDir::Name);
    for (const QString &file : files)
        locales.append(file.chopped(3));
    return locales;
}

} // namespace EmojiTables
