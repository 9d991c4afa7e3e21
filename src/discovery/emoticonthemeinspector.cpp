// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemeinspector.h"

#include "defaultemoticonthemehandler.h"
#include "emojithemehandler_p.h"
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
    delete emojiThemeHandler;
}

void EmoticonThemeInspectorPrivate::init(const QString &rootPath)
{
    if (!defaultThemeHandler) {
        defaultThemeHandler = new DefaultEmoticonThemeHandler(nullptr);
        connect(defaultThemeHandler, SIGNAL(defaultThemeAdded(EmoticonTheme)), this,
            SLOT(handleBuiltInThemeAdded(EmoticonTheme)), Qt::DirectConnection);
        connect(defaultThemeHandler, SIGNAL(defaultThemeRemoved(EmoticonTheme)), this,
            SLOT(handleBuiltInThemeRemoved(EmoticonTheme)), Qt::DirectConnection);
        defaultThemeHandler->init();
        emojiThemeHandler = new EmojiThemeHandler(nullptr);
        connect(emojiThemeHandler, SIGNAL(emojiThemeAdded(EmoticonTheme)), this,
            SLOT(handleBuiltInThemeAdded(EmoticonTheme)), Qt::DirectConnection);
        connect(emojiThemeHandler, SIGNAL(emojiThemeRemoved(EmoticonTheme)), this,
            SLOT(handleBuiltInThemeRemoved(EmoticonTheme)), Qt::DirectConnection);
        emojiThemeHandler->init();
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

void EmoticonThemeInspectorPrivate::handleBuiltInThemeAdded(const EmoticonTheme &theme)
{
    Q_EMIT themeAdded(theme);
}

void EmoticonThemeInspectorPrivate::handleBuiltInThemeRemoved(const EmoticonTheme &theme)
{
    Q_EMIT themeRemoved(theme.themeUUID());
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
