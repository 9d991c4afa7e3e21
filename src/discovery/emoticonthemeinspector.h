// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEMEINSPECTOR_H
#define GLYPHMORPH_EMOTICONTHEMEINSPECTOR_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QObject>
#include <QString>

class EmoticonThemeInspectorPrivate;

/**
 * The discovery pipeline as one object: announces the built-in theme, the built-in Emoji theme
 * where a colour emoji font can draw it, and every usable theme below the themes root, and every
 * theme that goes away. Of two installed themes with the same theme
 * UUID, or bound to the same service, the one found first wins.
 */
class GLYPHMORPH_EXPORT EmoticonThemeInspector : public QObject
{
    Q_OBJECT

public:
    explicit EmoticonThemeInspector(QObject *parent = nullptr);
    ~EmoticonThemeInspector() override;

    /** Publishes the built-in themes (first call only) and watches @p rootPath; every complete
     *  theme already there is announced before this returns. */
    void init(const QString &rootPath);
    /** True once the root was found to be a directory. */
    bool isActive() const;
    /** True while a theme directory is still waited for. */
    bool hasPendingChecks() const;

Q_SIGNALS:
    void themeAdded(const EmoticonTheme &addedTheme);
    void themeRemoved(const QString &themeUUID);

private:
    EmoticonThemeInspectorPrivate *const d;
};

#endif
