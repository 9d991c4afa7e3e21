// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticontheme.h"

#include "emosequencesearchtree.h"
#include "emoticontheme_p.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSharedData>

#include <atomic>

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

    /** Makes the content that EmoticonThemePrivate::setDeferredContent() put off. */
    void makeContent()
    {
        if (!contentDeferred.load(std::memory_order_acquire))
            return;
        QMutexLocker lock(&contentMutex);
        if (!contentDeferred.load(std::memory_order_relaxed))
            return;
        EmoticonThemeContent content = makeDeferredContent();
        codeSequenceToFilepathMapping = std::move(content.codeSequenceToFilepath);
        filePathToCodeSequenceMapping = std::move(content.filePathToCodeSequence);
        filepathToPickerImageMapping = std::move(content.filepathToPickerImage);
        codeSequenceToPriorityMapping = std::move(content.codeSequenceToPriority);
        delete characterCodeSequenceSearchTree;
        characterCodeSequenceSearchTree = content.tree;
        makeDeferredContent = nullptr;
        contentDeferred.store(false, std::memory_order_release);
    }

    std::function<EmoticonThemeContent()> makeDeferredContent;
    std::atomic<bool> contentDeferred { false };
    QMutex contentMutex;
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
    d->makeContent();
    return d->codeSequenceToFilepathMapping;
}

void EmoticonTheme::setCodeSequenceToFilepathMapping(const QHash<QString, QString> &mapping)
{
    d->makeContent();
    d->codeSequenceToFilepathMapping = mapping;
}

const QHash<QString, QString> &EmoticonTheme::filePathToCodeSequenceMapping() const
{
    d->makeContent();
    return d->filePathToCodeSequenceMapping;
}

void EmoticonTheme::setFilepathToCodeSequenceMapping(const QHash<QString, QString> &mapping)
{
    d->makeContent();
    d->filePathToCodeSequenceMapping = mapping;
}

const QHash<QString, QString> &EmoticonTheme::filepathToPickerImageMapping() const
{
    d->makeContent();
    return d->filepathToPickerImageMapping;
}

void EmoticonTheme::setFilepathToPickerImageMapping(const QHash<QString, QString> &mapping)
{
    d->makeContent();
    d->filepathToPickerImageMapping = mapping;
}

const QHash<QString, QString> &EmoticonTheme::codeSequenceToPriorityMapping() const
{
    d->makeContent();
    return d->codeSequenceToPriorityMapping;
}

void EmoticonTheme::setcodeSequenceToPriorityMapping(const QHash<QString, QString> &mapping)
{
    d->makeContent();
    d->codeSequenceToPriorityMapping = mapping;
}

emoSequenceSearchTree *EmoticonTheme::characterCodeSequenceSearchTree() const
{
    d->makeContent();
    return d->characterCodeSequenceSearchTree;
}

void EmoticonTheme::setCharacterCodeSequenceSearchTree(emoSequenceSearchTree *tree)
{
    d->makeContent();
    // Handing back the tree already owned must not delete it under the theme.
    if (tree == d->characterCodeSequenceSearchTree)
        return;
    delete d->characterCodeSequenceSearchTree;
    d->characterCodeSequenceSearchTree = tree;
}

QString EmoticonTheme::getPickerImage(const QString &filePath)
{
    d->makeContent();
    const auto it = d->filepathToPickerImageMapping.constFind(filePath);
    return it == d->filepathToPickerImageMapping.constEnd() ? QString() : it.value();
}

bool EmoticonTheme::isValid() const
{
    if (d->themeUUID.isEmpty() || d->themeName.isEmpty())
        return false;
    // Whoever deferred the content answers for it.
    if (d->contentDeferred.load(std::memory_order_acquire))
        return true;
    return d->characterCodeSequenceSearchTree && !d->codeSequenceToFilepathMapping.isEmpty()
        && !d->filePathToCodeSequenceMapping.isEmpty();
}

void EmoticonThemePrivate::setDeferredContent(
    EmoticonTheme &theme, std::function<EmoticonThemeContent()> make)
{
    EmoticonThemeData *d = theme.d.data();
    QMutexLocker lock(&d->contentMutex);
    d->makeDeferredContent = std::move(make);
    d->contentDeferred.store(true, std::memory_order_release);
}

bool EmoticonThemePrivate::isContentDeferred(const EmoticonTheme &theme)
{
    return theme.d->contentDeferred.load(std::memory_order_acquire);
}
