// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "maccessible_p.h"

#include "mbutton.h"
#include "mdialog.h"
#include "mwindow.h"

#include <QAccessibleWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGraphicsWidget>

#include <algorithm>

namespace {

// Visible graphics widgets directly below @p parent, or the scene's top-level ones, front last.
QList<QGraphicsWidget *> widgetsBelow(const QGraphicsItem *parent, const QGraphicsScene *scene)
{
    QList<QGraphicsWidget *> widgets;
    const QList<QGraphicsItem *> items = parent ? parent->childItems() : scene->items();
    for (QGraphicsItem *item : items) {
        if (item->isWidget() && item->isVisible() && (parent || !item->parentItem()))
            widgets.append(static_cast<QGraphicsWidget *>(item));
    }
    std::stable_sort(
        widgets.begin(), widgets.end(), [](const QGraphicsWidget *a, const QGraphicsWidget *b) {
            return a->zValue() < b->zValue();
        });
    return widgets;
}

// The one in front, which is the one a tap there reaches.
QAccessibleInterface *frontmostAt(const QList<QGraphicsWidget *> &widgets, const QPoint &point)
{
    for (auto it = widgets.crbegin(); it != widgets.crend(); ++it) {
        QAccessibleInterface *candidate = QAccessible::queryAccessibleInterface(*it);
        if (candidate && candidate->rect().contains(point))
            return candidate;
    }
    return nullptr;
}

QGraphicsView *viewOf(const QGraphicsItem *item)
{
    const QGraphicsScene *scene = item->scene();
    return scene && !scene->views().isEmpty() ? scene->views().constFirst() : nullptr;
}

class GraphicsWidgetAccessible : public QAccessibleObject, public QAccessibleActionInterface
{
public:
    explicit GraphicsWidgetAccessible(QGraphicsWidget *widget)
        : QAccessibleObject(widget)
    { }

    QGraphicsWidget *widget() const { return static_cast<QGraphicsWidget *>(object()); }
    QList<QGraphicsWidget *> children() const { return widgetsBelow(widget(), nullptr); }

    QAccessibleInterface *parent() const override
    {
        if (QGraphicsWidget *parent = widget()->parentWidget())
            return QAccessible::queryAccessibleInterface(parent);
        QGraphicsView *view = viewOf(widget());
        return view ? QAccessible::queryAccessibleInterface(view) : nullptr;
    }
    int childCount() const override { return children().size(); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QGraphicsWidget *> widgets = children();
        return index >= 0 && index < widgets.size()
            ? QAccessible::queryAccessibleInterface(widgets.at(index))
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? children().indexOf(static_cast<QGraphicsWidget *>(child->object())) : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        return frontmostAt(children(), QPoint(x, y));
    }
    QWindow *window() const override
    {
        QGraphicsView *view = viewOf(widget());
        return view ? view->window()->windowHandle() : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QString();
        const QString name = widget()->property("accessibleName").toString();
        if (!name.isEmpty())
            return name;
        if (const auto *button = qobject_cast<const MButton *>(widget()))
            return button->isTextVisible() ? button->text() : QString();
        if (const auto *dialog = qobject_cast<const MDialog *>(widget()))
            return dialog->title();
        return QString();
    }
    QAccessible::Role role() const override
    {
        if (qobject_cast<const MButton *>(widget()))
            return QAccessible::Button;
        if (qobject_cast<const MDialog *>(widget()))
            return QAccessible::Dialog;
        return QAccessible::Client;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        const QGraphicsWidget *w = widget();
        state.invisible = !w->isVisible();
        state.disabled = !w->isEnabled();
        state.focusable = (w->flags() & QGraphicsItem::ItemIsFocusable) != 0;
        state.focused = w->hasFocus();
        if (const auto *button = qobject_cast<const MButton *>(w))
            state.pressed = button->isDown();
        if (qobject_cast<const MDialog *>(w))
            state.modal = true;
        return state;
    }
    QRect rect() const override
    {
        QGraphicsView *view = viewOf(widget());
        if (!view)
            return QRect();
        const QRect inView = view->mapFromScene(widget()->sceneBoundingRect()).boundingRect();
        return QRect(view->viewport()->mapToGlobal(inView.topLeft()), inView.size());
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface && qobject_cast<MButton *>(widget()))
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }
    QStringList actionNames() const override { return { pressAction() }; }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            QMetaObject::invokeMethod(widget(), "clicked");
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

// The window's own widgets, then the graphics widgets its scene shows.
class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(MWindow *window)
        : QAccessibleWidget(window, QAccessible::Window)
    { }

    QList<QGraphicsWidget *> sceneWidgets() const
    {
        const QGraphicsScene *scene = static_cast<MWindow *>(widget())->scene();
        return scene ? widgetsBelow(nullptr, scene) : QList<QGraphicsWidget *>();
    }
    int childCount() const override
    {
        return QAccessibleWidget::childCount() + sceneWidgets().size();
    }
    QAccessibleInterface *child(int index) const override
    {
        const int own = QAccessibleWidget::childCount();
        if (index < own)
            return QAccessibleWidget::child(index);
        const QList<QGraphicsWidget *> widgets = sceneWidgets();
        return index - own < widgets.size()
            ? QAccessible::queryAccessibleInterface(widgets.at(index - own))
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        const int index = sceneWidgets().indexOf(qobject_cast<QGraphicsWidget *>(child->object()));
        return index >= 0 ? QAccessibleWidget::childCount() + index
                          : QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *shown = frontmostAt(sceneWidgets(), QPoint(x, y));
        return shown ? shown : QAccessibleWidget::childAt(x, y);
    }
    // The view holds the keyboard focus for the item focused in its scene.
    QAccessibleInterface *focusChild() const override
    {
        const QGraphicsScene *scene = static_cast<MWindow *>(widget())->scene();
        QGraphicsItem *item = scene ? scene->focusItem() : nullptr;
        if (item && item->isWidget())
            return QAccessible::queryAccessibleInterface(static_cast<QGraphicsWidget *>(item));
        return QAccessibleWidget::focusChild();
    }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("MWindow"))
        return new WindowAccessible(static_cast<MWindow *>(object));
    if (className == QLatin1String("QGraphicsWidget"))
        return new GraphicsWidgetAccessible(static_cast<QGraphicsWidget *>(object));
    return nullptr;
}

} // namespace

void MAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed)
}

void MAccessible::notifyFocus(QObject *object)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(object, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}
