// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the inspector's pipeline, split out so that moc sees its slots.
#ifndef GLYPHMORPH_EMOTICONTHEMEINSPECTOR_P_H
#define GLYPHMORPH_EMOTICONTHEMEINSPECTOR_P_H

#include "emoticontheme.h"
#include "emoticonthemedirectorywatcher.h"
#include "emoticonthemevalidationchecker.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

class DefaultEmoticonThemeHandler;
class EmojiThemeHandler;
class EmoticonThemeInspector;

class EmoticonThemeInspectorPrivate : public QObject
{
    Q_OBJECT

public:
    explicit EmoticonThemeInspectorPrivate(EmoticonThemeInspector *q);
    ~EmoticonThemeInspectorPrivate() override;

    void init(const QString &rootPath);

    EmoticonThemeValidationChecker validationChecker;
    EmoticonThemeDirectoryWatcher directoryWatcher;
    EmoticonThemeInspector *const inspector;
    DefaultEmoticonThemeHandler *defaultThemeHandler = nullptr;
    EmojiThemeHandler *emojiThemeHandler = nullptr;
    // Installed themes by description file path; never the built-in theme.
    QHash<QString, EmoticonTheme> installedThemes;
    // The identities taken by installed themes, so a new theme is checked in constant time.
    QSet<QString> installedThemeUUIDs;
    QSet<QString> installedServiceUUIDs;

Q_SIGNALS:
    void themeAdded(const EmoticonTheme &addedTheme);
    void themeRemoved(const QString &themeUUID);

private Q_SLOTS:
    void handleThemeDirectoryAdded(const QString &directoryPath);
    void handleThemeDirectoryRemoved(const QString &directoryPath);
    void handleThemeValid(const QString &emoticonThemeXmlFilePath, const EmoticonTheme &theme);
    void handleThemeInvalid(const QString &emoticonThemeXmlFilePath);
    // The built-in themes: the default theme and the Emoji theme.
    void handleBuiltInThemeAdded(const EmoticonTheme &theme);
    void handleBuiltInThemeRemoved(const EmoticonTheme &theme);
};

#endif
