// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The one builder of theme fixtures: theme files and installed theme directories (DIR/DIR.xml and
// its images), written in place or moved in whole as installers do.
#ifndef GLYPHMORPH_THEMEDIRECTORY_H
#define GLYPHMORPH_THEMEDIRECTORY_H

#include "testenvironment.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace GlyphmorphTest {

/** Image "NAME" gives the code ":NAME:" and the file "NAME.png"; the first is the preview. */
struct ThemeContent
{
    enum class Positions
    {
        InOrder,
        Reversed,
        None
    };

    QString uuid;
    QString service;
    QStringList images = { QStringLiteral("smile"), QStringLiteral("wink") };
    Positions positions = Positions::InOrder; // the picker's order, against the file's
};

inline QByteArray themeXml(const ThemeContent &content)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<emoticon_theme theme_uuid=\""
        + content.uuid.toUtf8() + "\" theme_name=\"Theme " + content.uuid.toUtf8() + "\"";
    if (!content.service.isEmpty())
        xml += " service_uuid=\"" + content.service.toUtf8() + "\"";
    xml += ">\n";
    const int count = int(content.images.size());
    for (int i = 0; i < count; ++i) {
        const QByteArray image = content.images.at(i).toUtf8();
        xml += "  <emoticon preview=\"" + QByteArray(i == 0 ? "true" : "false")
            + "\">\n    <charactercode default=\"true\">:" + image
            + ":</charactercode>\n    <file size=\"s\">" + image
            + ".png</file>\n    <file size=\"m\">" + image + ".png</file>\n";
        if (content.positions != ThemeContent::Positions::None) {
            const int position
                = content.positions == ThemeContent::Positions::InOrder ? i : count - 1 - i;
            xml += "    <positionindex>" + QByteArray::number(position) + "</positionindex>\n";
        }
        xml += "  </emoticon>\n";
    }
    return xml + "</emoticon_theme>\n";
}

inline bool writeImage(const QString &path)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(QColor(255, 200, 0));
    return image.save(path, "PNG");
}

/** Writes the images of @p content into @p directory. */
inline bool writeImages(const QString &directory, const ThemeContent &content)
{
    bool ok = true;
    for (const QString &image : content.images)
        ok = ok && writeImage(QDir(directory).filePath(image + QStringLiteral(".png")));
    return ok;
}

/** Writes DIR/DIR.xml and, when @p withImages, the theme's images; returns DIR. */
inline QString writeTheme(
    const QString &root, const QString &name, const ThemeContent &content, bool withImages = true)
{
    const QString directory = QDir(root).filePath(name);
    QDir().mkpath(directory);
    const bool ok
        = writeBytes(QDir(directory).filePath(name + QStringLiteral(".xml")), themeXml(content))
        && (!withImages || writeImages(directory, content));
    return ok ? directory : QString();
}

/** Writes the theme beside @p root and moves it in with one rename; returns DIR. */
inline QString moveInTheme(
    const QString &root, const QString &name, const ThemeContent &content, bool withImages = true)
{
    // Beside the roots, which are temporary directories too: the rename stays on one file system.
    static QTemporaryDir staging;
    const QString written = writeTheme(staging.path(), name, content, withImages);
    const QString target = QDir(root).filePath(name);
    return !written.isEmpty() && QDir().rename(written, target) ? target : QString();
}

/** The environment the tool runs in under a test: every file it reads or writes in @p home, the
 *  themes root @p root and the runtime directory @p runtime, never the developer's. */
inline QProcessEnvironment toolEnvironment(
    const QString &home, const QString &root, const QString &runtime)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("GLYPHMORPH_THEMES_ROOT"), root);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

} // namespace GlyphmorphTest

#endif
