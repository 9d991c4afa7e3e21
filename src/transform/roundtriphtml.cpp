// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "roundtriphtml_p.h"

#include <QStringView>

namespace {

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\f')
        || isLineEnd(c);
}

// Line ends too: an attribute value keeps them only as references.
void appendEscaped(QString &html, QChar c)
{
    if (c == QLatin1Char('\n'))
        html += QLatin1String("&#10;");
    else if (c == QLatin1Char('\r'))
        html += QLatin1String("&#13;");
    else
        emoSequenceSearchTreePrivate::appendHtmlEscaped(html, c);
}

QString escaped(QStringView text)
{
    QString html;
    for (const QChar c : text)
        appendEscaped(html, c);
    return html;
}

// Decodes the entity at @p at into @p text; the position after it, or -1 when there is none.
int decodeEntity(QStringView html, int at, QString &text)
{
    const int semicolon = int(html.mid(at, 12).indexOf(QLatin1Char(';')));
    if (semicolon < 2)
        return -1;
    const QStringView name = html.mid(at + 1, semicolon - 1);
    static const struct
    {
        QLatin1String name;
        char16_t character;
    } named[] = { { QLatin1String("amp"), u'&' }, { QLatin1String("lt"), u'<' },
        { QLatin1String("gt"), u'>' }, { QLatin1String("quot"), u'"' },
        { QLatin1String("apos"), u'\'' } };
    for (const auto &entity : named) {
        if (name == entity.name) {
            text += QChar(entity.character);
            return at + semicolon + 1;
        }
    }
    if (name.at(0) != QLatin1Char('#') || name.size() < 2)
        return -1;
    const bool hex = name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X');
    bool ok = false;
    const uint code = name.mid(hex ? 2 : 1).toString().toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10ffff || QChar::isSurrogate(code))
        return -1;
    if (QChar::requiresSurrogates(code)) {
        text += QChar(QChar::highSurrogate(code));
        text += QChar(QChar::lowSurrogate(code));
    } else {
        text += QChar(char16_t(code));
    }
    return at + semicolon + 1;
}

QString decoded(QStringView html)
{
    QString text;
    for (int i = 0; i < html.size();) {
        const int next = html.at(i) == QLatin1Char('&') ? decodeEntity(html, i, text) : -1;
        if (next < 0)
            text += html.at(i++);
        else
            i = next;
    }
    return text;
}

// The name of the tag [<, >], in lower case; empty for no name.
QString tagName(QStringView tag, int *end)
{
    int i = 1;
    while (i < tag.size() - 1 && tag.at(i).isLetterOrNumber())
        ++i;
    *end = i;
    return tag.mid(1, i - 1).toString().toLower();
}

// The raw value of the tag's alt attribute, or a null view.
QStringView altAttribute(QStringView tag, int from)
{
    const int last = int(tag.size()) - 1; // the ">"
    int i = from;
    while (i < last) {
        while (i < last && (isSpace(tag.at(i)) || tag.at(i) == QLatin1Char('/')))
            ++i;
        const int nameStart = i;
        while (i < last && !isSpace(tag.at(i)) && tag.at(i) != QLatin1Char('=')
            && tag.at(i) != QLatin1Char('/'))
            ++i;
        const QStringView name = tag.mid(nameStart, i - nameStart);
        while (i < last && isSpace(tag.at(i)))
            ++i;
        if (i >= last || tag.at(i) != QLatin1Char('='))
            continue;
        ++i;
        while (i < last && isSpace(tag.at(i)))
            ++i;
        int valueStart = i;
        int valueEnd;
        const QChar quote = i < last ? tag.at(i) : QChar();
        if (quote == QLatin1Char('\'') || quote == QLatin1Char('"')) {
            valueEnd = int(tag.mid(i + 1, last - i - 1).indexOf(quote));
            valueStart = i + 1;
            valueEnd = valueEnd < 0 ? last : valueStart + valueEnd;
            i = qMin(last, valueEnd + 1);
        } else {
            while (i < last && !isSpace(tag.at(i)))
                ++i;
            valueEnd = i;
        }
        if (name.compare(QLatin1String("alt"), Qt::CaseInsensitive) == 0)
            return tag.mid(valueStart, valueEnd - valueStart);
    }
    return QStringView();
}

} // namespace

QString RoundTripHtml::write(const QString &text, const std::vector<ImageSpan> &images,
    const QString &lineBreak, const emoSequenceSearchTreePrivate *tree)
{
    QString html;
    html.reserve(int(qMin<qint64>(qint64(text.size()) * 5 / 4 + 16, PlainTextScan::maxLength())));
    const auto appendText = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('\n'))
                html += lineBreak;
            else
                appendEscaped(html, c);
            if (html.size() > PlainTextScan::maxLength())
                return false;
        }
        return true;
    };
    int copied = 0;
    for (const ImageSpan &image : images) {
        if (!appendText(copied, image.begin))
            return QString();
        copied = image.end;
        if (image.asText) {
            html += escaped(image.code->emojiText);
            continue;
        }
        const QString code = escaped(QStringView(text).mid(image.begin, image.end - image.begin));
        const QString title = tree->imageTitle(image.code);
        html += QLatin1String("<img src='") % escaped(image.code->filePath)
            % QLatin1String("' title='") % (title.isNull() ? code : escaped(title))
            % QLatin1String("' alt='") % code % QLatin1String("' width='20' height='20'>");
    }
    if (!appendText(copied, int(text.size())))
        return QString();
    return html;
}

QString RoundTripHtml::read(const QString &html)
{
    QString text;
    text.reserve(html.size());
    const QStringView view(html);
    int nextClose = -1; // only moves forward, which keeps the scan linear
    for (int i = 0; i < html.size();) {
        const QChar c = html.at(i);
        if (isLineEnd(c)) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('&')) {
            const int next = decodeEntity(view, i, text);
            if (next < 0)
                text += html.at(i++);
            else
                i = next;
            continue;
        }
        if (c != QLatin1Char('<')) {
            text += c;
            ++i;
            continue;
        }
        if (nextClose <= i)
            nextClose = int(html.indexOf(QLatin1Char('>'), i + 1));
        if (nextClose < 0) {
            text += c;
            ++i;
            continue;
        }
        const QStringView tag = view.mid(i, nextClose + 1 - i);
        int nameEnd = 0;
        const QString name = tagName(tag, &nameEnd);
        bool done = false;
        if (name == QLatin1String("br")) {
            const QStringView rest = tag.mid(nameEnd, tag.size() - 1 - nameEnd).trimmed();
            if (rest.isEmpty() || rest == QLatin1String("/")) {
                text += QLatin1Char('\n');
                done = true;
            }
        } else if (name == QLatin1String("img")) {
            const QStringView alt = altAttribute(tag, nameEnd);
            if (!alt.isNull()) {
                text += decoded(alt);
                done = true;
            }
        }
        if (!done) {
            // Not markup: a lone "<" is text.
            if (name.isEmpty() && tag.at(1) != QLatin1Char('/') && tag.at(1) != QLatin1Char('!')) {
                text += c;
                ++i;
                continue;
            }
            text += tag;
        }
        i = nextClose + 1;
    }
    return text;
}
