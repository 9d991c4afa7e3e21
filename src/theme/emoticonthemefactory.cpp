// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemefactory.h"

#include "emosequencesearchtree.h"
#include "emoticonparsingitem.h"
#include "emoxmlparsinghandler.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlInputSource>
#include <QXmlSimpleReader>

namespace {

// The reader's own limit stops chains of nested entities ("billion laughs"), but not a long entity
// referenced many times, which expands to far more than the file holds. Theme files declare no
// entities, so a file that does is refused.
class EntityDeclarationRefusal : public QXmlDefaultHandler
{
public:
    bool internalEntityDecl(const QString &, const QString &) override { return false; }
    bool externalEntityDecl(const QString &, const QString &, const QString &) override
    {
        return false;
    }
};

// A file text must name a file inside the theme directory, and one the file system can name.
bool isUsableFileText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    const QStringList parts = text.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

QString usableFileText(const QHash<QString, QVariant> &files, const QString &size)
{
    const QString text = files.value(size).toString();
    return isUsableFileText(text) ? text : QString();
}

// Paths without a suffix name the PNG files that the cache holds for them.
QString resolvedImagePath(const QString &path)
{
    return path.endsWith(QFileInfo(path).baseName()) ? path + QLatin1String(".png") : path;
}

} // namespace

EmoticonTheme EmoticonThemeFactory::emoticonThemeFromXML(const QFileInfo &file)
{
    // Only regular files: a device or a pipe has no size to check and may never end.
    if (!file.isFile() || file.size() > maxThemeFileSize)
        return EmoticonTheme();
    QFile input(file.filePath());
    if (!input.open(QIODevice::ReadOnly))
        return EmoticonTheme();
    // Read with a bound, in case the file grew after its size was taken.
    QByteArray content = input.read(maxThemeFileSize + 1);
    if (content.size() > maxThemeFileSize)
        return EmoticonTheme();
    input.close();
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);

    emoXMLParsingHandler handler(file.absolutePath());
    EntityDeclarationRefusal refusal;
    QXmlInputSource source(&buffer);
    QXmlSimpleReader reader;
    reader.setContentHandler(&handler);
    reader.setDeclHandler(&refusal);
    if (!reader.parse(&source))
        return EmoticonTheme();
    return emoticonThemeFromHashMap(handler.mappingTableExtractionResult());
}

EmoticonTheme EmoticonThemeFactory::emoticonThemeFromXML(const QString &filePath)
{
    return emoticonThemeFromXML(QFileInfo(filePath));
}

EmoticonTheme EmoticonThemeFactory::defaultEmoticonTheme()
{
    return emoticonThemeFromXML(QStringLiteral(":/default_theme_resources/default_theme.xml"));
}

EmoticonTheme EmoticonThemeFactory::emoticonThemeFromHashMap(QHash<QString, QVariant> map)
{
    EmoticonTheme theme;
    for (const char *key : { "themeName", "serviceUUID", "themeUUID", "emoticons" }) {
        if (!map.contains(QLatin1String(key)))
            return theme;
    }
    const QString baseDirectory = map.value(QStringLiteral("baseDirectory")).toString();
    const QVariant emoticons = map.value(QStringLiteral("emoticons"));
    const QList<EmoticonParsingItem> items
        = emoticons.userType() == qMetaTypeId<QList<EmoticonParsingItem>>()
        ? emoticons.value<QList<EmoticonParsingItem>>()
        : QList<EmoticonParsingItem>();
    theme.setServiceUUID(map.value(QStringLiteral("serviceUUID")).toString());
    theme.setThemeUUID(map.value(QStringLiteral("themeUUID")).toString());
    theme.setThemeName(map.value(QStringLiteral("themeName")).toString());

    const QString small = QStringLiteral("s");
    const QString medium = QStringLiteral("m");
    QString previewIcon;
    QHash<QString, QString> codeToFile;
    QHash<QString, QString> fileToCode;
    QHash<QString, QString> fileToPicker;
    QHash<QString, QString> codeToPriority;
    for (const EmoticonParsingItem &item : items) {
        QString resolvedPath;
        QString pickerImage;
        QString defaultCode;
        const QString smallFile = usableFileText(item.files, small);
        if (!smallFile.isNull()) {
            const QString mediumFile = usableFileText(item.files, medium);
            const QString pickerFile = mediumFile.isNull() ? smallFile : mediumFile;
            const QString imagePath = baseDirectory + smallFile;
            bool found = false;
            for (auto code = item.characterCodes.cbegin(); code != item.characterCodes.cend();
                 ++code) {
                codeToFile.insert(code.key(), imagePath);
                if (!code.value().toBool() && found)
                    continue;
                const QFileInfo picker(pickerFile);
                pickerImage = picker.baseName();
                if (item.preview)
                    previewIcon = baseDirectory + picker.fileName();
                defaultCode = code.key();
                resolvedPath = resolvedImagePath(imagePath);
                found = true;
            }
        }
        fileToPicker.insert(resolvedPath, pickerImage);
        fileToCode.insert(resolvedPath, defaultCode);
        codeToPriority.insert(defaultCode, item.positionIndex);
    }

    theme.setPreviewIconName(previewIcon);
    theme.setCodeSequenceToFilepathMapping(codeToFile);
    theme.setFilepathToCodeSequenceMapping(fileToCode);
    theme.setFilepathToPickerImageMapping(fileToPicker);
    theme.setcodeSequenceToPriorityMapping(codeToPriority);
    theme.setCharacterCodeSequenceSearchTree(
        new emoSequenceSearchTree(theme.codeSequenceToFilepathMapping()));
    if (theme.isValid())
        setPreviewPixmap(theme);
    return theme;
}

QT_WARNING_POP
