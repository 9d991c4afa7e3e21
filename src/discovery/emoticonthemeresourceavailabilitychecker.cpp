// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemeresourceavailabilitychecker.h"

#include "boundedfile_p.h"
#include "emoticonthemefactory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

class EmoticonThemeResourceAvailabilityCheckerPrivate
{
public:
    void watch(const QString &path)
    {
        if (!directoryWatcher || directoryWatcher->files().contains(path)
            || directoryWatcher->directories().contains(path))
            return;
        directoryWatcher->addPath(path);
    }

    // Made only for a theme that is not complete at its first scan: a watcher costs kernel
    // resources (with inotify an instance of its own), and most themes arrive whole.
    std::unique_ptr<QFileSystemWatcher> directoryWatcher;
    EmoticonTheme theme;
    QString directoryPath;
    bool resourcesAvailable = false;
    QString xmlFilePath;
    bool xmlFound = false;
    bool reported = false;
};

EmoticonThemeResourceAvailabilityChecker::EmoticonThemeResourceAvailabilityChecker(
    const QString &directoryPath, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<EmoticonThemeResourceAvailabilityCheckerPrivate>())
{
    d->directoryPath = directoryPath;
    const QDir directory(directoryPath);
    d->xmlFilePath = directory.filePath(directory.dirName() + QLatin1String(".xml"));
}

EmoticonThemeResourceAvailabilityChecker::~EmoticonThemeResourceAvailabilityChecker() = default;

void EmoticonThemeResourceAvailabilityChecker::start()
{
    scanDirectory();
    if (d->reported)
        return;
    d->directoryWatcher = std::make_unique<QFileSystemWatcher>();
    connect(d->directoryWatcher.get(), SIGNAL(directoryChanged(QString)), this,
        SLOT(handleDirectoryChanged()));
    // A file copied in is created empty and then written: its own changes must trigger a scan.
    connect(d->directoryWatcher.get(), SIGNAL(fileChanged(QString)), this,
        SLOT(handleDirectoryChanged()));
    if (QFileInfo(d->directoryPath).isDir())
        d->watch(d->directoryPath);
    // Whatever arrived between the first scan and the watch.
    scanDirectory();
    if (!d->reported)
        QTimer::singleShot(timeoutMilliseconds, this, SLOT(handleTimeout()));
}

void EmoticonThemeResourceAvailabilityChecker::scanDirectory()
{
    if (d->reported)
        return;
    if (!d->xmlFound) {
        d->xmlFound = scanForXmlFile();
        if (!d->xmlFound)
            return;
    }
    if (d->resourcesAvailable || !scanForResources())
        return;
    d->resourcesAvailable = true;
    d->reported = true;
    // Released later: one of its notifications may be what runs this scan.
    if (d->directoryWatcher)
        d->directoryWatcher.release()->deleteLater();
    Q_EMIT resourcesAvailable(d->xmlFilePath, d->theme, this);
}

bool EmoticonThemeResourceAvailabilityChecker::scanForXmlFile()
{
    if (!QFile::exists(d->xmlFilePath))
        return false;
    d->watch(d->xmlFilePath);
    d->theme = EmoticonThemeFactory::emoticonThemeFromXML(d->xmlFilePath);
    return d->theme.isValid();
}

bool EmoticonThemeResourceAvailabilityChecker::scanForResources()
{
    bool complete = true;
    const QHash<QString, QString> &images = d->theme.filePathToCodeSequenceMapping();
    for (auto it = images.cbegin(); it != images.cend(); ++it) {
        // Only a regular file is an image: a FIFO or a device would hang whoever reads it.
        if (BoundedFile::isRegularFile(it.key()))
            continue;
        const QFileInfo image(it.key());
        complete = false;
        // Images in a sub-directory arrive without a change of the theme directory itself.
        const QString imageDirectory = image.absolutePath();
        if (imageDirectory != d->directoryPath && QFileInfo(imageDirectory).isDir())
            d->watch(imageDirectory);
    }
    return complete;
}

bool EmoticonThemeResourceAvailabilityChecker::checkResourceValidation()
{
    const QHash<QString, QString> &images = d->theme.filePathToCodeSequenceMapping();
    for (auto it = images.cbegin(); it != images.cend(); ++it) {
        const QString path = QFileInfo(it.key()).filePath();
        if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            continue;
        if (BoundedFile::readImage(path).isNull())
            return false;
    }
    return true;
}

void EmoticonThemeResourceAvailabilityChecker::handleDirectoryChanged()
{
    scanDirectory();
}

void EmoticonThemeResourceAvailabilityChecker::handleTimeout()
{
    if (d->reported)
        return;
    d->reported = true;
    if (d->directoryWatcher)
        d->directoryWatcher.release()->deleteLater();
    const QString path
        = d->xmlFound || QFile::exists(d->xmlFilePath) ? d->xmlFilePath : d->directoryPath;
    Q_EMIT resourcesUnavailable(path, this);
}
