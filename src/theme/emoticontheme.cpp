// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticontheme.h"

#include "emosequencesearchtree.h"

#include <QSharedData>

class EmoticonThemeData : public QSharedData
{
public:
    EmoticonThemeData() = default;
    EmoticonThemeData(const EmoticonThemeData &) = delete;
    EmoticonThemeData &operator=(const EmoticonThemeData &) = delete;
    virtual ~EmoticonThemeData() { delete characterCodeSequenceSearchTree; }

    QString serviceUUID;
    QString themeUUID;
    QString themeName;
    QString previewPixmapName;
    QString previewIconName;
    emoSequenceSearchTree *characterCodeSequenceSearchTree = nullptr;
    QHash<QString, QString> codeSequenceToFilepathMapping;
    QHash<QString, QString> filePathToCodeSequenceMapping;
    QHash<QString, QString> filepathToPickerImageMapping;
    QHash<QString, QString> codeSequenceToPriorityMapping;
};

// Themes travel in queued signals and QVariant under this name from the moment the library loads.
static const int emoticonThemeMetaTypeId = qRegisterMetaType<EmoticonTheme>("EmoticonTheme");

EmoticonTheme::EmoticonTheme()
    : d(new EmoticonThemeData)
{
    Q_UNUSED(emoticonThemeMetaTypeId)
}

EmoticonTheme::EmoticonTheme(const EmoticonTheme &other) = default;
EmoticonTheme &EmoticonTheme::operator=(const EmoticonTheme &other) = default;
EmoticonTheme::~EmoticonTheme() = default;

QString EmoticonTheme::serviceUUID() const
{
    return d->serviceUUID;
}
void EmoticonTheme::setServiceUUID(const QString &serviceUUID)
{
    d->serviceUUID = serviceUUID;
}
QString EmoticonTheme::themeUUID() const
{
    return d->themeUUID;
}
void EmoticonTheme::setThemeUUID(const QString &themeUUID)
{
    d->themeUUID = themeUUID;
}
QString EmoticonTheme::themeName() const
{
    return d->themeName;
}
void EmoticonTheme::setThemeName(const QString &themeName)
{
    d->themeName = themeName;
}
QString EmoticonTheme::previewPixmapName() const
{
    return d->previewPixmapName;
}

void EmoticonTheme::setPreviewPixmapName(const QString &previewPixmapName)
{
    d->previewPixmapName = previewPixmapName;
}

QString EmoticonTheme::previewIconName() const
{
    return d->previewIconName;
}

void EmoticonTheme::setPreviewIconName(const QString &previewIconName)
{
    d->previewIconName = previewIconName;
}

const QHash<QString, QString> &EmoticonTheme::codeSequenceToFilepathMapping() const
{
    return d->codeSequenceToFilepathMapping;
}

void EmoticonTheme::setCodeSequenceToFilepathMapping(const QHash<QString, QString> &mapping)
{
    d->codeSequenceToFilepathMapping = mapping;
}

const QHash<QString, QString> &EmoticonTheme::filePathToCodeSequenceMapping() const
{
    return d->filePathToCodeSequenceMapping;
}

void EmoticonTheme::setFilepathToCodeSequenceMapping(const QHash<QString, QString> &mapping)
{
    d->filePathToCodeSequenceMapping = mapping;
}

const QHash<QString, QString> &EmoticonTheme::filepathToPickerImageMapping() const
{
    return d->filepathToPickerImageMapping;
}

void EmoticonTheme::setFilepathToPickerImageMapping(const QHash<QString, QString> &mapping)
{
    d->filepathToPickerImageMapping = mapping;
}

const QHash<QString, QString> &EmoticonTheme::codeSequenceToPriorityMapping() const
{
    return d->codeSequenceToPriorityMapping;
}

void EmoticonTheme::setcodeSequenceToPriorityMapping(const QHash<QString, QString> &mapping)
{
    d->codeSequenceToPriorityMapping = mapping;
}

emoSequenceSearchTree *EmoticonTheme::characterCodeSequenceSearchTree() const
{
    return d->characterCodeSequenceSearchTree;
}

void EmoticonTheme::setCharacterCodeSequenceSearchTree(emoSequenceSearchTree *tree)
{
    // Handing back the tree already owned must not delete it under the theme.
    if (tree == d->characterCodeSequenceSearchTree)
        return;
    delete d->characterCodeSequenceSearchTree;
    d->characterCodeSequenceSearchTree = tree;
}

QString EmoticonTheme::getPickerImage(const QString &filePath)
{
    const auto it = d->filepathToPickerImageMapping.constFind(filePath);
    return it == d->filepathToPickerImageMapping.constEnd() ? QString() : it.value();
}

bool EmoticonTheme::isValid() const
{
    return !d->themeUUID.isEmpty() && !d->themeName.isEmpty() && d->characterCodeSequenceSearchTree
        && !d->codeSequenceToFilepathMapping.isEmpty()
        && !d->filePathToCodeSequenceMapping.isEmpty();
}
