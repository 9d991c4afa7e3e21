// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEMEMANAGER_H
#define GLYPHMORPH_EMOTICONTHEMEMANAGER_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"
#include "singletonbase.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class EmoticonThemeManager;
class EmoticonThemeManagerPrivate;
class emoSequenceSearchTree;

// Before the class derives from it, so that the one instance pointer is exported.
extern template class GLYPHMORPH_EXPORT SingletonBase<EmoticonThemeManager>;

/**
 * The process-wide registry of emoticon themes and keeper of the user's current theme.
 *
 * Construction runs the whole discovery: the built-in theme, the Emoji theme (UUID
 * "928ab845-fe9b-497d-af5f-e49ee6609415", every Unicode emoji and its shortcodes, offered where a
 * colour emoji font draws its images) and every complete theme installed below the themes root
 * are registered before the constructor returns; themes still being copied
 * follow within ten seconds. The themes root is "/usr/share/themes/base/meegotouch/libglyphmorph0/
 * images/", or the directory named by the environment variable GLYPHMORPH_THEMES_ROOT.
 *
 * The current theme is the settings key "/Messaging/Settings/CurrentCustomEmoticonTheme", shared
 * by every process of the user. A choice of the Emoji theme holds in a process that does not
 * offer it, which gives the built-in theme meanwhile. A theme bound to a messaging service takes
 * precedence over the current theme for that service's accounts.
 */
class GLYPHMORPH_EXPORT EmoticonThemeManager : public QObject,
                                               public SingletonBase<EmoticonThemeManager>
{
    Q_OBJECT

public:
    EmoticonThemeManager();
    ~EmoticonThemeManager() override;

    /** Every registered theme by theme UUID. */
    QHash<QString, EmoticonTheme> emoticonThemes() const;
    /** The current theme's UUID, read afresh from the settings; the built-in theme's UUID when
     *  the setting is empty. Never empty. */
    QString currentTheme() const;
    /** Stores @p themeUUID as the user's current theme; it is not checked against the themes. */
    void setCurrentTheme(const QString &themeUUID);
    /** The theme for the messaging account at @p accountPath: the theme bound to its service,
     *  else the current theme, else the built-in theme. Invalid when none is registered. The
     *  latest answer is kept for 20 ms on the coarse monotonic clock (up to one scheduler tick
     *  more): a change made elsewhere than through this manager (another process, the accounts
     *  file) shows within that time, or once it is notified. */
    EmoticonTheme themeForAccountPath(const QString &accountPath);

    /** The themes root watched by managers of this process. */
    static QString themesRootPath();
    /** The built-in theme's UUID. */
    static QString defaultThemeUUID();

    /** The theme bound to @p serviceUUID; invalid when there is none. */
    Q_INVOKABLE EmoticonTheme themeForServiceUUID(const QString &serviceUUID) const;

Q_SIGNALS:
    /** A theme bound to @p serviceUUID was registered. */
    void themeAdded(const QString &serviceUUID, const QString &themeUUID);
    /** A theme bound to a service was unregistered. */
    void themeRemoved(const QString &themeUUID);
    /** The current theme changed; carries the UUID current before the change (empty before the
     *  first change seen by this process). Read the new one with currentTheme(). */
    void currentThemeChanged(const QString &themeUUID);
    /** A theme was registered or unregistered. */
    void availableThemesChanged();

private Q_SLOTS:
    void slotCurrentThemeChanged();
    void handleThemeAdded(const EmoticonTheme &emoticonTheme);
    void handleThemeRemoved(const QString &themeUUID);
    void handleRemovalGraceOver();

private:
    friend class Glyphmorpher;
    /** The search tree of themeForAccountPath's theme, or null, without copying the theme,
     *  which costs a message two atomic operations; it holds until the manager is next called. */
    emoSequenceSearchTree *searchTreeForAccountPath(const QString &accountPath);

    const std::unique_ptr<EmoticonThemeManagerPrivate> d;
};

#endif
