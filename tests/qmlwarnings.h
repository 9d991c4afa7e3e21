// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Warnings about QML files (a signal handler's undeclared parameter in Qt 6, a failed binding)
// kept for the test to fail on: they are faults of the module's QML, never passing noise.
#ifndef GLYPHMORPH_QMLWARNINGS_H
#define GLYPHMORPH_QMLWARNINGS_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace GlyphmorphTest {

inline QStringList &qmlWarnings()
{
    static QStringList warnings;
    return warnings;
}

/** From here on, keeps each warning that names a QML file in qmlWarnings(); every message still
 *  goes on to the test's own handler. */
inline void recordQmlWarnings()
{
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (type == QtWarningMsg && message.contains(QLatin1String(".qml:")))
                qmlWarnings().append(message);
            if (next)
                next(type, context, message);
        });
}

} // namespace GlyphmorphTest

#endif
