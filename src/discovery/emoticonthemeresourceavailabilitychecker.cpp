// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemeresourceavailabilitychecker.h"

#include "boundedfile_p.h"
#include "emoticonthemefactory.h"
#include "emoticonthemeresourceavailabilitychecker_p.h"
#include "sharedfilesystemwatch_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

int timeoutForTests = 0;

} // namespace

EmoticonThemeResourceAvailabilityCheckerPrivate::EmoticonThemeResourceAvailabilityCheckerPrivate(
    EmoticonThemeResourceAvailabilityChecker *q)
    : q(q)
{ }

void EmoticonThemeResourceAvailabilityCheckerPrivate::setTimeoutForTests(int milliseconds)
{
    timeoutForTests = milliseconds;
}

int EmoticonThemeResourceAvailabilityCheckerPrivate::timeout()
{
    return timeoutForTests > 0 ? timeoutForTests
                               : EmoticonThemeResourceAvailabilityChecker::timeoutMilliseconds;
}

void EmoticonThemeResourceAvailabilityCheckerPrivate::watch(const QString &path)
{
    if (watching)
        SharedFileSystemWatch::watch(q, path);
}

void EmoticonThemeResourceAvailabilityCheckerPrivate::finish()
{
    reported = true;
    watching = false;
    SharedFileSystemWatch::unwatch(q);
}

EmoticonThemeResourceAvailabilityChecker::EmoticonThemeResourceAvailabilityChecker(
    const QString &directoryPath, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<EmoticonThemeResourceAvailabilityCheckerPrivate>(this))
{
    d->directoryPath = directoryPath;
    const QDir directory(directoryPath);
    d->xmlFilePath = directory.filePath(directory.dirName() + QLatin1String(".xml"));
}

// A checker deleted while pending must not be scanned by a later notification.
EmoticonThemeResourceAvailabilityChecker::~EmoticonThemeResourceAvailabilityChecker()
{
    SharedFileSystemWatch::unwatch(this);
}

void EmoticonThemeResourceAvailabilityChecker::start()
{
    scanDirectory();
    if (d->reported)
        return;
    d->watching = true;
    if (QFileInfo(d->directoryPath).isDir())
        d->watch(d->directoryPath);
    // Whatever arrived between the first scan and the watch.
    scanDirectory();
    // A coarse timer may fire up to 5% early, and a theme still arriving would be dropped early.
    if (!d->reported)
        QTimer::singleShot(d->timeout(), Qt::PreciseTimer, this, SLOT(handleTimeout()));
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
    if (!scanForResources())
        return;
    d->finish();
    // The description may have come before its preview image: its preview was not made then.
    EmoticonThemeFactory::setPreviewPixmap(d->theme);
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
    d->finish();
    const QString path
        = d->xmlFound || QFile::exists(d->xmlFilePath) ? d->xmlFilePath : d->directoryPath;
    Q_EMIT resourcesUnavailable(path, this);
}
