// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGETSTYLECONTAINER_H
#define GLYPHMORPH_MWIDGETSTYLECONTAINER_H

#include "glyphmorph_export.h"

#include <QPalette>
#include <QString>

#include <memory>

class MWidgetStyle;
class MWidgetStyleContainerPrivate;

/**
 * The styles of one widget, one per mode ("" by default, "pressed" while pressed), each made by
 * the style creator registered for styleType() (a plain MWidgetStyle when there is none) and filled
 * from the library stylesheets for the widget's object name and style name.
 */
class GLYPHMORPH_EXPORT MWidgetStyleContainer
{
public:
    MWidgetStyleContainer();
    virtual ~MWidgetStyleContainer();
    MWidgetStyleContainer(const MWidgetStyleContainer &) = delete;
    MWidgetStyleContainer &operator=(const MWidgetStyleContainer &) = delete;

    /** Sets what the stylesheet selectors are matched against; @p type is used when the
     *  container does not fix its own styleType(). Styles are made afresh on next use. */
    void initialize(const QString &objectName, const QString &styleName, const QString &type);
    QString objectName() const;
    QString styleName() const;
    /** The palette whose colours the stylesheets' `palette(ROLE)` values take (the application's
     *  by default); the widget's own, so that its look follows the platform UI theme. Styles are
     *  made afresh on next use when it changes. */
    void setPalette(const QPalette &palette);

    void setModeDefault();
    void setModePressed();
    QString currentMode() const;

    /** The style of the current mode; never null. */
    const MWidgetStyle *currentStyle() const;
    const MWidgetStyle *operator->() const;

    /** The style type the stylesheet selectors name: the type given to initialize(), else
     *  "MWidgetStyle". */
    virtual QString styleType() const;

private:
    const std::unique_ptr<MWidgetStyleContainerPrivate> d;
};

#endif
