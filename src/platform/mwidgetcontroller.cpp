// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetcontroller.h"

#include "mviewcreator.h"
#include "mwidgetmodel.h"
#include "mwidgetview.h"

#include <QGraphicsScene>
#include <QPointer>

class MWidgetControllerPrivate
{
public:
    std::unique_ptr<MWidgetModel> model;
    std::unique_ptr<MWidgetView> view;
    bool viewLookedUp = false;
    QString styleName;
};

MWidgetController::MWidgetController(QGraphicsItem *parent)
    : MWidgetController(nullptr, parent)
{ }

MWidgetController::MWidgetController(MWidgetModel *model, QGraphicsItem *parent)
    : MWidget(parent)
    , d(new MWidgetControllerPrivate)
{
    d->model.reset(model ? model : new MWidgetModel);
    // The derived class is complete only after its constructor, and only then can its view be
    // found by class name.
    QPointer<MWidgetController> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self)
                self->view();
        },
        Qt::QueuedConnection);
}

MWidgetController::~MWidgetController()
{
    // The view may still reach the controller while it goes.
    d->view.reset();
}

MWidgetModel *MWidgetController::model() const
{
    return d->model.get();
}

const MWidgetView *MWidgetController::view() const
{
    if (!d->viewLookedUp) {
        d->viewLookedUp = true;
        d->view.reset(MViewCreatorBase::createView(this));
    }
    return d->view.get();
}

void MWidgetController::setView(MWidgetView *view)
{
    d->viewLookedUp = true;
    d->view.reset(view);
    updateGeometry();
    update();
}

QString MWidgetController::styleName() const
{
    return d->styleName;
}

void MWidgetController::setStyleName(const QString &name)
{
    if (d->styleName == name)
        return;
    d->styleName = name;
    styleChanged();
}

void MWidgetController::setObjectName(const QString &name)
{
    if (objectName() == name)
        return;
    QObject::setObjectName(name);
    styleChanged();
}

void MWidgetController::paint(
    QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    if (d->view)
        d->view->paint(painter, option, widget);
}

QSizeF MWidgetController::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    // Not view(): a size asked for while a derived constructor runs must not fix the view.
    if (d->view) {
        const QSizeF hint = d->view->sizeHint(which, constraint);
        if (hint.isValid())
            return hint;
    }
    return MWidget::sizeHint(which, constraint);
}

QVariant MWidgetController::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSceneHasChanged && value.value<QGraphicsScene *>())
        view();
    return MWidget::itemChange(change, value);
}

void MWidgetController::styleChanged()
{
    if (d->view)
        d->view->updateStyle();
    updateGeometry();
    update();
}
