// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A second process for mgconfitemtest. Keys and values arrive percent-encoded (UTF-8), so any
// string passes through the command line whatever the locale.
//   settingswriter set KEY VALUE      stores VALUE
//   settingswriter unset KEY          removes the user's value
//   settingswriter get KEY            prints "value:" and the value as UTF-8, or "unset"
//   settingswriter hammer NAME COUNT  writes /test/concurrent/NAME = 0..COUNT-1 and, after each,
//                                     /test/concurrent/shared = NAME:i
// Exits with 1 when a value read back is not the one just written (the shared key aside).
#include "mgconfitem.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

QString decoded(const QString &argument)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(argument.toLatin1()));
}

bool setAndCheck(MGConfItem &item, const QString &value)
{
    item.set(value);
    return item.value() == QVariant(value);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);

    if (command == QLatin1String("set") && args.size() == 3) {
        MGConfItem item(decoded(args.at(1)));
        return setAndCheck(item, decoded(args.at(2))) ? 0 : 1;
    }
    if (command == QLatin1String("unset") && args.size() == 2) {
        MGConfItem item(decoded(args.at(1)));
        item.unset();
        return 0;
    }
    if (command == QLatin1String("get") && args.size() == 2) {
        const QVariant value = MGConfItem(decoded(args.at(1))).value();
        const QByteArray out
            = value.isValid() ? "value:" + value.toString().toUtf8() : QByteArray("unset");
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return 0;
    }
    if (command == QLatin1String("hammer") && args.size() == 3) {
        const QString name = args.at(1);
        MGConfItem own(QLatin1String("/test/concurrent/") + name);
        MGConfItem shared(QStringLiteral("/test/concurrent/shared"));
        const int count = args.at(2).toInt();
        for (int i = 0; i < count; ++i) {
            // Only this process writes its own key, so it must read back what was just written.
            if (!setAndCheck(own, QString::number(i)))
                return 1;
            shared.set(name + QLatin1Char(':') + QString::number(i));
        }
        return 0;
    }
    std::fprintf(
        stderr, "usage: settingswriter set KEY VALUE | unset KEY | get KEY | hammer NAME COUNT\n");
    return 2;
}
