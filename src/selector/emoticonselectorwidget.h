// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONSELECTORWIDGET_H
#define GLYPHMORPH_EMOTICONSELECTORWIDGET_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"
#include "mwidgetcontroller.h"

#include <QHash>
#include <QString>

#include <memory>

class EmoticonSelectorWidgetPrivate;

/**
 * The emoticon picker an application places in its user interface.
 *
 * After setServiceName() the widget holds the emoticons of the theme that applies to that
 * messaging service and follows the theme manager's changes. appear() opens a dialog with a grid
 * of the emoticons (drawn by the widget's view); the user's choice comes back as selectionDone().
 */
class GLYPHMORPH_EXPORT EmoticonSelectorWidget : public MWidgetController
{
    Q_OBJECT

public:
    explicit EmoticonSelectorWidget(QGraphicsItem *parent = nullptr);
    ~EmoticonSelectorWidget() override;

    /** Resolved image file path to default character code, one entry per emoticon. */
    const QHash<QString, QString> &emoticonSet() const;
    /** Default character code to the emoticon's position in the picker ("0", "1", ...). */
    const QHash<QString, QString> &emoticonPrioritySet() const;
    /** The theme the data comes from; invalid before a valid theme was found. A copy sharing
     *  the theme's data. */
    EmoticonTheme emoticonTheme() const;

Q_SIGNALS:
    /** The user picked an emoticon: its default character code and its image file path. */
    void selectionDone(const QString &characterCode, const QString &imageFilePath);
    /** appear() was called; the view opens the dialog. */
    void appearPopup();
    /** The theme of the service changed and the data was replaced. */
    void emoticonThemeChanged();

public Q_SLOTS:
    /** Opens the selection dialog. */
    void appear();
    /** Takes the theme for @p serviceName (an account path) from the theme manager, without
     *  signalling, and follows the manager's theme changes from then on. */
    void setServiceName(const QString &serviceName);
    /** Looks the theme up again; replaces the data and signals when its identity changed. */
    void handleThemeChanged();

private:
    const std::unique_ptr<EmoticonSelectorWidgetPrivate> d;
};

#endif
