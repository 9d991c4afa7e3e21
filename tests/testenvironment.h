// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Every test process runs in a home of its own, so no test touches the developer's files or those
// of a test running beside it, whether started by CTest or by hand.
#ifndef GLYPHMORPH_TESTENVIRONMENT_H
#define GLYPHMORPH_TESTENVIRONMENT_H

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstdlib>

namespace GlyphmorphTest {

class IsolatedEnvironment
{
public:
    IsolatedEnvironment()
        : m_home(QDir::tempPath() + QStringLiteral("/glyphmorph-test-XXXXXX"))
    {
        if (!m_home.isValid()) {
            std::fprintf(
                stderr, "cannot create a temporary home: %s\n", qPrintable(m_home.errorString()));
            std::exit(2);
        }
        const QString home = m_home.path();
        for (const char *sub : { "/.config", "/.cache", "/.local/share", "/runtime" })
            QDir().mkpath(home + QLatin1String(sub));
        QFile::setPermissions(home + QStringLiteral("/runtime"),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home + QStringLiteral("/.cache")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home + QStringLiteral("/runtime")));
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QString home() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
};

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace GlyphmorphTest

#define GLYPHMORPH_TEST_MAIN_IMPL(TestObject, Application)                                         \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        GlyphmorphTest::IsolatedEnvironment environment;                                           \
        Application app(argc, argv);                                                               \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

/** For anything with pixmaps, documents or widgets: a QApplication on the offscreen platform. */
#define GLYPHMORPH_TEST_MAIN(TestObject) GLYPHMORPH_TEST_MAIN_IMPL(TestObject, QApplication)

/** For core code: no GUI application. */
#define GLYPHMORPH_TEST_GUILESS_MAIN(TestObject)                                                   \
    GLYPHMORPH_TEST_MAIN_IMPL(TestObject, QCoreApplication)

#endif
