// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mstylesheet_p.h"

#include <QColor>
#include <QFile>
#include <QHash>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QSize>
#include <QStringList>

#include <algorithm>

namespace {

struct Libraries
{
    // The platform's own sheet comes first, so that every library sheet refines it.
    QStringList names { QStringLiteral("mplatform") };
    QHash<QString, QVector<MStyleRule>> loaded;
};

Libraries &libraries()
{
    static Libraries state;
    return state;
}

QString withoutComments(const QString &text)
{
    QString plain;
    int pos = 0;
    while (pos < text.size()) {
        const int start = text.indexOf(QLatin1String("/*"), pos);
        if (start < 0) {
            plain += text.mid(pos);
            break;
        }
        plain += text.mid(pos, start - pos);
        const int end = text.indexOf(QLatin1String("*/"), start + 2);
        if (end < 0)
            break;
        plain += QLatin1Char(' ');
        pos = end + 2;
    }
    return plain;
}

bool parseSelector(const QString &text, MStyleRule *rule)
{
    static const QRegularExpression shape(
        QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)?((?:[.#:][A-Za-z0-9_-]+)*)$"));
    static const QRegularExpression part(QStringLiteral("([.#:])([A-Za-z0-9_-]+)"));
    const QRegularExpressionMatch match = shape.match(text);
    if (text.isEmpty() || !match.hasMatch())
        return false;
    rule->type = match.captured(1);
    auto it = part.globalMatch(match.captured(2));
    while (it.hasNext()) {
        const QRegularExpressionMatch piece = it.next();
        const QChar kind = piece.captured(1).at(0);
        QString *field = kind == QLatin1Char('.') ? &rule->styleName
            : kind == QLatin1Char('#')            ? &rule->objectName
                                                  : &rule->mode;
        if (!field->isEmpty())
            return false;
        *field = piece.captured(2);
    }
    return true;
}

QVector<QPair<QString, QString>> parseDeclarations(const QString &body)
{
    static const QRegularExpression attributeName(QStringLiteral("^[a-z][a-z0-9-]*$"));
    QVector<QPair<QString, QString>> declarations;
    const QStringList parts = body.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        const int colon = part.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString name = part.left(colon).trimmed().toLower();
        const QString value = part.mid(colon + 1).trimmed();
        if (!attributeName.match(name).hasMatch() || value.isEmpty())
            continue;
        declarations.append(qMakePair(name, value));
    }
    return declarations;
}

int number(QString text, bool *ok)
{
    text = text.trimmed();
    if (text.endsWith(QLatin1String("px")))
        text.chop(2);
    return text.toInt(ok);
}

bool inherits(const QObject *object, const QString &className)
{
    for (const QMetaObject *mo = object->metaObject(); mo; mo = mo->superClass()) {
        if (className == QLatin1String(mo->className()))
            return true;
    }
    return false;
}

} // namespace

QVector<MStyleRule> MStyleSheet::parse(const QString &text)
{
    const QString sheet = withoutComments(text);
    QVector<MStyleRule> rules;
    int pos = 0;
    while (pos < sheet.size()) {
        const int open = sheet.indexOf(QLatin1Char('{'), pos);
        if (open < 0)
            break;
        const int close = sheet.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0)
            break;
        QString selectors = sheet.mid(pos, open - pos);
        // A stray closing brace ends whatever came before it.
        selectors = selectors.mid(selectors.lastIndexOf(QLatin1Char('}')) + 1);
        const int nested = sheet.indexOf(QLatin1Char('{'), open + 1);
        pos = close + 1;
        if (nested >= 0 && nested < close)
            continue;
        const auto declarations = parseDeclarations(sheet.mid(open + 1, close - open - 1));
        const QStringList names = selectors.split(QLatin1Char(','));
        for (const QString &name : names) {
            MStyleRule rule;
            if (!parseSelector(name.trimmed(), &rule))
                continue;
            rule.attributes = declarations;
            rules.append(rule);
        }
    }
    return rules;
}

QString MStyleSheet::propertyName(const QString &attribute)
{
    const QStringList words = attribute.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    QString name;
    for (const QString &word : words)
        name += name.isEmpty() ? word : word.at(0).toUpper() + word.mid(1);
    return name;
}

QPalette::ColorRole MStyleSheet::paletteRole(const QString &name, bool *ok)
{
    static const QHash<QString, QPalette::ColorRole> roles {
        { QStringLiteral("window"), QPalette::Window },
        { QStringLiteral("window-text"), QPalette::WindowText },
        { QStringLiteral("base"), QPalette::Base },
        { QStringLiteral("alternate-base"), QPalette::AlternateBase },
        { QStringLiteral("text"), QPalette::Text },
        { QStringLiteral("button"), QPalette::Button },
        { QStringLiteral("button-text"), QPalette::ButtonText },
        { QStringLiteral("bright-text"), QPalette::BrightText },
        { QStringLiteral("light"), QPalette::Light },
        { QStringLiteral("midlight"), QPalette::Midlight },
        { QStringLiteral("mid"), QPalette::Mid },
        { QStringLiteral("dark"), QPalette::Dark },
        { QStringLiteral("shadow"), QPalette::Shadow },
        { QStringLiteral("highlight"), QPalette::Highlight },
        { QStringLiteral("highlighted-text"), QPalette::HighlightedText },
        { QStringLiteral("link"), QPalette::Link },
        { QStringLiteral("link-visited"), QPalette::LinkVisited },
        { QStringLiteral("tooltip-base"), QPalette::ToolTipBase },
        { QStringLiteral("tooltip-text"), QPalette::ToolTipText },
        { QStringLiteral("placeholder-text"), QPalette::PlaceholderText },
    };
    const auto role = roles.constFind(name.trimmed().toLower());
    *ok = role != roles.constEnd();
    return *ok ? *role : QPalette::NoRole;
}

bool MStyleSheet::assign(
    QObject *style, const QString &attribute, const QString &value, const QPalette &palette)
{
    const QMetaObject *mo = style->metaObject();
    const int index = mo->indexOfProperty(propertyName(attribute).toLatin1().constData());
    if (index < 0)
        return false;
    const QMetaProperty property = mo->property(index);
    QVariant converted;
    bool ok = false;
    switch (property.userType()) {
    case QMetaType::Int:
        converted = number(value, &ok);
        break;
    case QMetaType::Double:
        converted = value.toDouble(&ok);
        break;
    case QMetaType::Bool:
        ok = value == QLatin1String("true") || value == QLatin1String("false");
        converted = value == QLatin1String("true");
        break;
    case QMetaType::QString: {
        const bool quoted = value.size() >= 2 && value.startsWith(QLatin1Char('"'))
            && value.endsWith(QLatin1Char('"'));
        converted = quoted ? value.mid(1, value.size() - 2) : value;
        ok = true;
        break;
    }
    case QMetaType::QColor: {
        const bool none = value == QLatin1String("none");
        QColor color = none ? QColor() : QColor(value);
        static const QRegularExpression roleReference(QStringLiteral("^palette\\((.*)\\)$"));
        const QRegularExpressionMatch reference = roleReference.match(value);
        if (reference.hasMatch()) {
            bool known = false;
            const QPalette::ColorRole role = paletteRole(reference.captured(1), &known);
            color = known ? palette.color(role) : QColor();
        }
        ok = none || color.isValid();
        converted = color;
        break;
    }
    case QMetaType::QSize: {
        const QStringList sides = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool okHeight = false;
        if (sides.size() == 2)
            converted = QSize(number(sides.at(0), &ok), number(sides.at(1), &okHeight));
        ok = ok && okHeight;
        break;
    }
    default:
        break;
    }
    return ok && property.write(style, converted);
}

void MStyleSheet::apply(QObject *style, const QString &type, const QString &objectName,
    const QString &styleName, const QString &mode, const QVector<MStyleRule> &rules,
    const QPalette &palette)
{
    QVector<QPair<int, int>> matching; // weight, index
    for (int i = 0; i < rules.size(); ++i) {
        const MStyleRule &rule = rules.at(i);
        const bool exactType = !rule.type.isEmpty() && rule.type == type;
        if (!rule.type.isEmpty() && !exactType && !inherits(style, rule.type))
            continue;
        if ((!rule.objectName.isEmpty() && rule.objectName != objectName)
            || (!rule.styleName.isEmpty() && rule.styleName != styleName)
            || (!rule.mode.isEmpty() && rule.mode != mode))
            continue;
        const int weight = (rule.objectName.isEmpty() ? 0 : 8) + (rule.styleName.isEmpty() ? 0 : 4)
            + (rule.mode.isEmpty() ? 0 : 2) + (exactType ? 1 : 0);
        matching.append(qMakePair(weight, i));
    }
    std::sort(matching.begin(), matching.end());
    for (const auto &match : qAsConst(matching)) {
        for (const auto &attribute : rules.at(match.second).attributes)
            assign(style, attribute.first, attribute.second, palette);
    }
}

void MStyleSheet::addLibrary(const QString &name)
{
    if (!libraries().names.contains(name))
        libraries().names.append(name);
}

void MStyleSheet::removeLibrary(const QString &name)
{
    libraries().names.removeAll(name);
    libraries().loaded.remove(name);
}

QVector<MStyleRule> MStyleSheet::libraryRules()
{
    Libraries &state = libraries();
    QVector<MStyleRule> rules;
    for (const QString &name : qAsConst(state.names)) {
        auto loaded = state.loaded.find(name);
        if (loaded == state.loaded.end()) {
            QFile file(QLatin1String(":/stylesheets/") + name + QLatin1String(".css"));
            QVector<MStyleRule> parsed;
            if (file.open(QIODevice::ReadOnly))
                parsed = parse(QString::fromUtf8(file.readAll()));
            loaded = state.loaded.insert(name, parsed);
        }
        rules += *loaded;
    }
    return rules;
}
