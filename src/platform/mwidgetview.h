// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGETVIEW_H
#define GLYPHMORPH_MWIDGETVIEW_H

#include "glyphmorph_export.h"

#include <QObject>
#include <QSizeF>

#include <memory>

class MWidgetController;
class MWidgetStyleContainer;
class MWidgetViewPrivate;
class QPainter;
class QStyleOptionGraphicsItem;
class QWidget;

/**
 * The look and behaviour on screen of a widget controller, made for it by the view creator
 * registered for the controller's class and owned by the controller. Draws the background and
 * border of its style.
 */
class GLYPHMORPH_EXPORT MWidgetView : public QObject
{
    Q_OBJECT

public:
    explicit MWidgetView(MWidgetController *controller);
    ~MWidgetView() override;

    static const char *staticStyleType() { return "MWidgetStyle"; }

    virtual void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget);
    /** The size the view asks for; invalid (the default) to let the controller decide. */
    virtual QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint) const;
    /** Reads the controller's object name and style name again. */
    void updateStyle();

protected:
    /** A new container for this view's styles; the view owns it. */
    virtual MWidgetStyleContainer *createStyleContainer() const;
    /** The style type the view's styles are looked up by. */
    virtual const char *styleType() const;
    /** The view's styles, made on first use. */
    const MWidgetStyleContainer &style() const;
    MWidgetStyleContainer &style();
    MWidgetController *controller() const;

private:
    const std::unique_ptr<MWidgetViewPrivate> d;
};

#endif
