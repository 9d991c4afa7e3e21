// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGETCONTROLLER_H
#define GLYPHMORPH_MWIDGETCONTROLLER_H

#include "glyphmorph_export.h"
#include "mwidget.h"

#include <memory>

class MWidgetControllerPrivate;
class MWidgetModel;
class MWidgetView;

/**
 * A widget whose data (the model) and whose look and behaviour on screen (the view) are objects of
 * their own. The view is made by the view creator registered for the controller's class, or for
 * the nearest base class that has one, the first time it is needed: when view() is called, when
 * the widget enters a scene, or when control returns to the event loop after construction.
 * The stylesheets address a controller by its object name and its style name.
 */
class GLYPHMORPH_EXPORT MWidgetController : public MWidget
{
    Q_OBJECT

public:
    explicit MWidgetController(QGraphicsItem *parent = nullptr);
    /** Takes ownership of @p model; a new MWidgetModel when null. */
    explicit MWidgetController(MWidgetModel *model, QGraphicsItem *parent = nullptr);
    ~MWidgetController() override;

    MWidgetModel *model() const;
    /** The view, made when first needed; null when no view creator serves this class. */
    const MWidgetView *view() const;
    /** Replaces the view with @p view, which the controller then owns. */
    void setView(MWidgetView *view);

    QString styleName() const;
    void setStyleName(const QString &name);
    /** Sets the QObject name, by which stylesheets address the widget. */
    void setObjectName(const QString &name);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    /** Called after the object name or the style name changed. */
    virtual void styleChanged();

private:
    const std::unique_ptr<MWidgetControllerPrivate> d;
};

#endif
