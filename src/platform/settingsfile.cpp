// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "settingsfile_p.h"

#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <utility>

namespace {

enum class Part
{
    Key,
    Value
};

void appendEscaped(QString &out, const QString &text, Part part)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'=':
        case u'#':
            if (part == Part::Key)
                out += u'\\';
            out += c;
            break;
        default:
            out += c;
        }
    }
}

bool unescape(QStringView text, QString *out)
{
    out->clear();
    out->reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\') {
            out->append(c);
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i].unicode()) {
        case u'\\':
            out->append(u'\\');
            break;
        case u'n':
            out->append(u'\n');
            break;
        case u'r':
            out->append(u'\r');
            break;
        case u'=':
            out->append(u'=');
            break;
        case u'#':
            out->append(u'#');
            break;
        default:
            return false;
        }
    }
    return true;
}

bool isComment(QStringView line)
{
    for (const QChar c : line) {
        if (!c.isSpace())
            return c == u'#';
    }
    return true;
}

qsizetype separatorIndex(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\\')
            ++i;
        else if (line[i] == u'=')
            return i;
    }
    return -1;
}

} // namespace

namespace SettingsFile {

Content parse(const QByteArray &text)
{
    Content content;
    QString key;
    QString value;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        // Carriage returns are always escaped when written, so a raw one is a line end from
        // an editor that writes CR LF.
        qsizetype lineEnd = end;
        if (lineEnd > start && text.at(lineEnd - 1) == '\r')
            --lineEnd;
        const QString line = QString::fromUtf8(text.constData() + start, int(lineEnd - start));
        start = end + 1;
        if (isComment(line))
            continue;
        const qsizetype separator = separatorIndex(line);
        if (separator < 0 || !unescape(QStringView(line).left(separator), &key)
            || !unescape(QStringView(line).mid(separator + 1), &value)) {
            content.clean = false;
            continue;
        }
        content.values.insert(key, value);
    }
    return content;
}

QByteArray serialize(const QHash<QString, QString> &values)
{
    QStringList keys = values.keys();
    std::sort(keys.begin(), keys.end());
    QString out = QStringLiteral("# glyphmorph settings: one key=value a line; \\\\, \\n and \\r "
                                 "escape, and in keys \\= and \\#\n");
    for (const QString &key : std::as_const(keys)) {
        appendEscaped(out, key, Part::Key);
        out += u'=';
        appendEscaped(out, values.value(key), Part::Value);
        out += u'\n';
    }
    return out.toUtf8();
}

} // namespace SettingsFile
