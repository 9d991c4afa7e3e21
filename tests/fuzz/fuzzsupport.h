// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// What the fuzz targets share: a home of their own, the one application object, a reader of the
// fuzz bytes, and a check that aborts, so that both libFuzzer and the replay tests see a failure.
#ifndef GLYPHMORPH_FUZZSUPPORT_H
#define GLYPHMORPH_FUZZSUPPORT_H

#include "testenvironment.h"

#include <QApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace GlyphmorphFuzz {

/** A temporary HOME, XDG directories and an empty themes root, for the whole process. */
inline QString isolate()
{
    static GlyphmorphTest::IsolatedEnvironment environment;
    const QString themesRoot = environment.home() + QStringLiteral("/themes");
    QDir().mkpath(themesRoot);
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(themesRoot));
    return environment.home();
}

/** The application object every target that draws or edits needs; never deleted, as libFuzzer
 *  leaves through exit() with the last input's objects still in use. */
inline void startApplication()
{
    static int argc = 1;
    static char name[] = "glyphmorph-fuzz";
    static char *argv[] = { name, nullptr };
    static QApplication *application = nullptr;
    if (!application)
        application = new QApplication(argc, argv);
}

[[noreturn]] inline void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

#define GLYPHMORPH_FUZZ_CHECK(condition, detail)                                                   \
    do {                                                                                           \
        if (!(condition))                                                                          \
            GlyphmorphFuzz::fail(#condition, (detail));                                            \
    } while (false)

/** Reads the fuzz bytes front to back; past the end every read gives zero. */
class Input
{
public:
    Input(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }

    bool atEnd() const { return m_position >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_position++]; }
    /** A number in [0, bound), bound > 0. */
    int below(int bound) { return byte() % bound; }
    /** Up to @p maxLength characters, each one of @p alphabet. */
    QString text(int maxLength, const QString &alphabet)
    {
        QString result;
        for (int length = below(maxLength + 1); length > 0 && !atEnd(); --length)
            result += alphabet.at(below(int(alphabet.size())));
        return result;
    }
    /** The bytes not read yet, as UTF-8. */
    QString rest()
    {
        const QString result = QString::fromUtf8(
            reinterpret_cast<const char *>(m_data + m_position), int(m_size - m_position));
        m_position = m_size;
        return result;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_position = 0;
};

} // namespace GlyphmorphFuzz

#endif
