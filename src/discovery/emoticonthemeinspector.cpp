// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemeinspector.h"

#include "defaultemoticonthemehandler.h"
#include "emoticonthemeinspector_p.h"

#include <QLatin1Char>

EmoticonThemeInspectorPrivate::EmoticonThemeInspectorPrivate(EmoticonThemeInspector *q)
    : QObject(q)
    , validationChecker(this)
    , directoryWatcher(this)
    , inspector(q)
{
    qRegisterMetaType<EmoticonTheme>("EmoticonTheme");
    connect(this, SIGNAL(themeAdded(EmoticonTheme)), inspector, SIGNAL(themeAdded(EmoticonTheme)),
        Qt::DirectConnection);
    connect(this, SIGNAL(themeRemoved(QString)), inspector, SIGNAL(themeRemoved(QString)),
        Qt::DirectConnection);
    connect(&directoryWatcher, SIGNAL(themeDirectoryAdded(QString)), this,
        SLOT(handleThemeDirectoryAdded(QString)), Qt::DirectConnection);
    connect(&directoryWatcher, SIGNAL(themeDirectoryRemoved(QString)), this,
        SLOT(handleThemeDirectoryRemoved(QString)), Qt::DirectConnection);
    connect(&validationChecker, SIGNAL(emoticonThemeIsValid(QString, EmoticonTheme)), this,
        SLOT(handleThemeValid(QString, EmoticonTheme)), Qt::DirectConnection);
    connect(&validationChecker, SIGNAL(emoticonThemeIsInvalid(QString)), this,
        SLOT(handleThemeInvalid(QString)), Qt::DirectConnection);
}

EmoticonThemeInspectorPrivate::~EmoticonThemeInspectorPrivate()
{
    delete defaultThemeHandler;
}

void EmoticonThemeInspectorPrivate::init(const QString &rootPath)
{
    if (!defaultThemeHandler) {
        defaultThemeHandler = new DefaultEmoticonThemeHandler(nullptr);
        connect(defaultThemeHandler, SIGNAL(defaultThemeAdded(EmoticonTheme)), this,
            SLOT(handleDefaultThemeAdded(EmoticonTheme)), Qt::DirectConnection);
        connect(defaultThemeHandler, SIGNAL(defaultThemeRemoved(EmoticonTheme)), this,
            SLOT(handleDefaultThemeRemoved(EmoticonTheme)), Qt::DirectConnection);
        defaultThemeHandler->init();
    }
    directoryWatcher.setEmoticonThemeDirectoryPath(rootPath);
}

void EmoticonThemeInspectorPrivate::handleThemeDirectoryAdded(const QString &directoryPath)
{
    validationChecker.requestValidationCheck(directoryPath);
}

void EmoticonThemeInspectorPrivate::handleThemeDirectoryRemoved(const QString &directoryPath)
{
    validationChecker.cancelValidationCheck(directoryPath);
    // The directory itself followed by "/", so that removing "Smile" never takes "SmileBig".
    const QString prefix = directoryPath + QLatin1Char('/');
    for (auto it = installedThemes.begin(); it != installedThemes.end(); ++it) {
        if (!it.key().startsWith(prefix))
            continue;
        const QString themeUUID = it.value().themeUUID();
        installedThemeUUIDs.remove(themeUUID);
        installedServiceUUIDs.remove(it.value().serviceUUID());
        installedThemes.erase(it);
        Q_EMIT themeRemoved(themeUUID);
        return;
    }
}

void EmoticonThemeInspectorPrivate::handleThemeValid(
    const QString &emoticonThemeXmlFilePath, const EmoticonTheme &theme)
{
    const QString serviceUUID = theme.serviceUUID();
    if (installedThemeUUIDs.contains(theme.themeUUID())
        || (!serviceUUID.isEmpty() && installedServiceUUIDs.contains(serviceUUID)))
        return;
    installedThemeUUIDs.insert(theme.themeUUID());
    if (!serviceUUID.isEmpty())
        installedServiceUUIDs.insert(serviceUUID);
    installedThemes.insert(emoticonThemeXmlFilePath, theme);
    Q_EMIT themeAdded(theme);
}

void EmoticonThemeInspectorPrivate::handleThemeInvalid(const QString &) { }

void EmoticonThemeInspectorPrivate::handleDefaultThemeAdded(const EmoticonTheme &defaultTheme)
{
    Q_EMIT themeAdded(defaultTheme);
}

void EmoticonThemeInspectorPrivate::handleDefaultThemeRemoved(const EmoticonTheme &defaultTheme)
{
    Q_EMIT themeRemoved(defaultTheme.themeUUID());
}

EmoticonThemeInspector::EmoticonThemeInspector(QObject *parent)
    : QObject(parent)
    , d(new EmoticonThemeInspectorPrivate(this))
{ }

// The private object is a child and is destroyed with this one, without a signal.
EmoticonThemeInspector::~EmoticonThemeInspector() = default;

void EmoticonThemeInspector::init(const QString &rootPath)
{
    d->init(rootPath);
}

bool EmoticonThemeInspector::isActive() const
{
    return d->directoryWatcher.isActive();
}

bool EmoticonThemeInspector::hasPendingChecks() const
{
    return d->validationChecker.pendingCheckCount() > 0;
}
