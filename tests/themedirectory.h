// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Builds installed theme directories (DIR/DIR.xml and its images) for the discovery tests.
#ifndef GLYPHMORPH_THEMEDIRECTORY_H
#define GLYPHMORPH_THEMEDIRECTORY_H

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QStringList>

namespace GlyphmorphTest {

struct ThemeContent
{
    QString uuid;
    QString service;
    QStringList images = { QStringLiteral("smile"), QStringLiteral("wink") };
};

inline QByteArray themeXml(const ThemeContent &content)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<emoticon_theme theme_uuid=\""
        + content.uuid.toUtf8() + "\" theme_name=\"Theme " + content.uuid.toUtf8() + "\"";
    if (!content.service.isEmpty())
        xml += " service_uuid=\"" + content.service.toUtf8() + "\"";
    xml += ">\n";
    for (int position = 0; position < content.images.size(); ++position) {
        const QString &image = content.images.at(position);
        xml += "  <emoticon preview=\"" + QByteArray(position == 0 ? "true" : "false")
            + "\">\n    <charactercode default=\"true\">:" + image.toUtf8()
            + ":</charactercode>\n    <file size=\"s\">" + image.toUtf8()
            + ".png</file>\n    <file size=\"m\">" + image.toUtf8()
            + ".png</file>\n    <positionindex>" + QByteArray::number(position)
            + "</positionindex>\n  </emoticon>\n";
    }
    return xml + "</emoticon_theme>\n";
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

inline bool writeImage(const QString &path)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(QColor(255, 200, 0));
    return image.save(path, "PNG");
}

/** Writes DIR/DIR.xml and, when @p withImages, the theme's images; returns DIR. */
inline QString writeTheme(
    const QString &root, const QString &name, const ThemeContent &content, bool withImages = true)
{
    const QString directory = QDir(root).filePath(name);
    QDir().mkpath(directory);
    bool ok
        = writeBytes(QDir(directory).filePath(name + QStringLiteral(".xml")), themeXml(content));
    for (const QString &image : content.images) {
        if (withImages)
            ok = ok && writeImage(QDir(directory).filePath(image + QStringLiteral(".png")));
    }
    return ok ? directory : QString();
}

/** Writes the images of @p content into @p directory. */
inline bool writeImages(const QString &directory, const ThemeContent &content)
{
    bool ok = true;
    for (const QString &image : content.images)
        ok = ok && writeImage(QDir(directory).filePath(image + QStringLiteral(".png")));
    return ok;
}

} // namespace GlyphmorphTest

#endif
