// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "tool.h"

#include <emoticontheme.h>
#include <emoticonthememanager.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace Tool {

namespace {

const QString themesRootOption = QStringLiteral("themes-root");

QByteArray readAll(FILE *stream, QString *error)
{
    QFile input;
    if (!input.open(stream, QIODevice::ReadOnly)) {
        *error = input.errorString();
        return QByteArray();
    }
    const QByteArray bytes = input.readAll();
    if (input.error() != QFileDevice::NoError)
        *error = input.errorString();
    return bytes;
}

} // namespace

void out(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void err(const QString &text)
{
    const QByteArray bytes = QStringLiteral("glyphmorph: %1\n").arg(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

int fail(const QString &message, int code)
{
    err(message);
    return code;
}

CommandLine::CommandLine(const QString &command, const QString &description)
    : m_command(command)
{
    parser.setApplicationDescription(description);
    parser.addOption(QCommandLineOption(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help.")));
    parser.addOption(QCommandLineOption(themesRootOption,
        QStringLiteral("Use DIR as the themes root for this run (default: "
                       "$GLYPHMORPH_THEMES_ROOT, else the system themes root)."),
        QStringLiteral("DIR")));
}

int CommandLine::parse(const QStringList &arguments)
{
    if (!parser.parse(QStringList { QStringLiteral("glyphmorph") } + arguments)) {
        err(parser.errorText());
        err(QStringLiteral("'glyphmorph %1 --help' shows the usage").arg(m_command));
        return UsageError;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out(helpText());
        return Success;
    }
    if (parser.isSet(themesRootOption))
        setThemesRoot(parser.value(themesRootOption));
    return -1;
}

QString CommandLine::helpText() const
{
    // QCommandLineParser names the program by its path; the usage line reads better with the
    // command in it.
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const int end = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(usage) && end > 0) {
        const QString name = m_command.isEmpty() ? QStringLiteral("glyphmorph")
                                                 : QStringLiteral("glyphmorph ") + m_command;
        text.replace(usage.size(), end - usage.size(), name);
    }
    return text;
}

void setThemesRoot(const QString &directory)
{
    qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(QFileInfo(directory).absoluteFilePath()));
}

bool readText(const QStringList &words, QString *text, QString *error)
{
    if (!words.isEmpty()) {
        *text = words.join(QLatin1Char(' '));
        return true;
    }
    QString readError;
    *text = QString::fromUtf8(readAll(stdin, &readError));
    if (!readError.isEmpty()) {
        *error = QStringLiteral("cannot read standard input: ") + readError;
        return false;
    }
    // Text piped from echo or a file ends with a line end that is not part of the message.
    if (text->endsWith(QLatin1Char('\n')))
        text->chop(1);
    if (text->endsWith(QLatin1Char('\r')))
        text->chop(1);
    return true;
}

bool readFile(const QString &path, QString *text, QString *error)
{
    QString readError;
    if (path == QLatin1String("-")) {
        *text = QString::fromUtf8(readAll(stdin, &readError));
    } else {
        QFile file(path);
        if (QFileInfo(path).isDir())
            readError = QStringLiteral("is a directory");
        else if (!file.open(QIODevice::ReadOnly))
            readError = file.errorString();
        else
            *text = QString::fromUtf8(file.readAll());
    }
    if (!readError.isEmpty()) {
        *error = QStringLiteral("cannot read %1: %2")
                     .arg(path == QLatin1String("-") ? QStringLiteral("standard input") : path,
                         readError);
        return false;
    }
    return true;
}

EmoticonThemeManager &themeManager()
{
    Q_ASSERT(SingletonBase<EmoticonThemeManager>::m_pInstance);
    return *SingletonBase<EmoticonThemeManager>::m_pInstance;
}

QString themeDirectory(const EmoticonTheme &theme)
{
    const QString root = QFileInfo(EmoticonThemeManager::themesRootPath()).canonicalFilePath();
    if (root.isEmpty())
        return QString();
    const QStringList images = theme.filePathToCodeSequenceMapping().keys();
    for (const QString &image : images) {
        if (image.isEmpty())
            continue;
        // Walk up from the image: the theme directory is the one right below the root.
        QDir directory = QFileInfo(image).absoluteDir();
        while (!directory.isRoot()) {
            QDir parent = directory;
            if (!parent.cdUp())
                break;
            if (QFileInfo(parent.path()).canonicalFilePath() == root)
                return directory.absolutePath();
            directory = parent;
        }
        return QString();
    }
    return QString();
}

int emoticonCount(const EmoticonTheme &theme)
{
    const QHash<QString, QString> &images = theme.filePathToCodeSequenceMapping();
    // An emoticon without a usable image leaves an entry under the empty key.
    return images.size() - (images.contains(QString()) ? 1 : 0);
}

} // namespace Tool
