// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mdialog.h"

#include "mapplication.h"
#include "mframepainter_p.h"
#include "mscenemanager.h"
#include "mwidgetstyle.h"
#include "mwidgetstylecontainer.h"
#include "mwindow.h"

#include <QFontMetricsF>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

class MDialogPrivate
{
public:
    explicit MDialogPrivate(MDialog *q);

    QFont titleFont() const;
    qreal titleHeight() const;
    void updateMargins();

    MDialog *const q;
    QGraphicsLinearLayout *const layout;
    MWidgetStyleContainer style;
    QString title;
    QPointer<QGraphicsWidget> centralWidget;
    MDialog::DeletionPolicy policy = MDialog::KeepWhenDone;
};

MDialogPrivate::MDialogPrivate(MDialog *q)
    : q(q)
    , layout(new QGraphicsLinearLayout(Qt::Vertical, q))
{
    style.initialize(QString(), QString(), QStringLiteral("MDialogStyle"));
    style.setPalette(q->palette());
}

QFont MDialogPrivate::titleFont() const
{
    QFont font = q->font();
    font.setPixelSize(style->fontSize());
    font.setBold(true);
    return font;
}

qreal MDialogPrivate::titleHeight() const
{
    return title.isEmpty() ? 0 : QFontMetricsF(titleFont()).height() + style->padding();
}

void MDialogPrivate::updateMargins()
{
    const qreal padding = style->padding();
    layout->setContentsMargins(padding, padding + titleHeight(), padding, padding);
    layout->setSpacing(0);
}

MDialog::MDialog()
    : MWidgetController(nullptr, nullptr)
    , d(new MDialogPrivate(this))
{
    setFlag(ItemIsFocusable);
    d->updateMargins();
}

MDialog::MDialog(const QString &title)
    : MDialog()
{
    setTitle(title);
}

MDialog::~MDialog()
{
    if (MSceneManager *manager = sceneManager())
        manager->disappearSceneWindow(this);
}

QString MDialog::title() const
{
    return d->title;
}

void MDialog::setTitle(const QString &title)
{
    d->title = title;
    d->updateMargins();
    updateGeometry();
    update();
}

// The title is painted, not laid out: without this a narrow grid would cut it off.
QSizeF MDialog::sizeHint(Qt::SizeHint which, const QSizeF &constraint) const
{
    QSizeF hint = MWidgetController::sizeHint(which, constraint);
    if (!d->title.isEmpty() && (which == Qt::MinimumSize || which == Qt::PreferredSize)) {
        const qreal titleWidth
            = QFontMetricsF(d->titleFont()).horizontalAdvance(d->title) + 2 * d->style->padding();
        hint.setWidth(qMax(hint.width(), titleWidth));
    }
    return hint;
}

void MDialog::setCentralWidget(QGraphicsWidget *widget)
{
    if (d->centralWidget == widget)
        return;
    if (d->centralWidget) {
        d->layout->removeItem(d->centralWidget);
        delete d->centralWidget.data();
    }
    d->centralWidget = widget;
    if (widget) {
        widget->setParentItem(this);
        d->layout->addItem(widget);
    }
}

QGraphicsWidget *MDialog::centralWidget() const
{
    return d->centralWidget;
}

MSceneManager *MDialog::sceneManager() const
{
    if (!scene())
        return nullptr;
    const QList<QGraphicsView *> views = scene()->views();
    for (QGraphicsView *view : views) {
        if (auto *window = qobject_cast<MWindow *>(view)) {
            if (window->sceneManager()->sceneWindows().contains(const_cast<MDialog *>(this)))
                return window->sceneManager();
        }
    }
    return nullptr;
}

bool MDialog::isAppeared() const
{
    return sceneManager() != nullptr;
}

void MDialog::appear(DeletionPolicy policy)
{
    MWindow *window = MApplication::activeApplicationWindow();
    if (!window || isAppeared())
        return;
    d->policy = policy;
    window->sceneManager()->appearSceneWindow(this);
    Q_EMIT appeared();
}

void MDialog::accept()
{
    if (!isAppeared())
        return;
    Q_EMIT accepted();
    disappear();
}

void MDialog::reject()
{
    if (!isAppeared())
        return;
    Q_EMIT rejected();
    disappear();
}

void MDialog::disappear()
{
    MSceneManager *manager = sceneManager();
    if (!manager)
        return;
    manager->disappearSceneWindow(this);
    Q_EMIT disappeared();
    if (d->policy == DestroyWhenDone)
        deleteLater();
}

void MDialog::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const MWidgetStyle *style = d->style.currentStyle();
    MFramePainter::draw(painter, rect(), style);
    if (d->title.isEmpty())
        return;
    const qreal padding = style->padding();
    painter->setFont(d->titleFont());
    painter->setPen(style->textColor());
    const QRectF titleArea(
        padding, padding, size().width() - 2 * padding, QFontMetricsF(d->titleFont()).height());
    painter->drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter, d->title);
}

bool MDialog::event(QEvent *event)
{
    const bool handled = MWidgetController::event(event);
    // The content asked for another size (a layout switched its items): fit and centre again.
    if (event->type() == QEvent::LayoutRequest) {
        if (MSceneManager *manager = sceneManager())
            manager->placeSceneWindows();
    }
    return handled;
}

void MDialog::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    // Taps on the dialog's own background do not reach what lies below it.
    event->accept();
}

void MDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    MWidgetController::keyPressEvent(event);
}

void MDialog::styleChanged()
{
    d->style.initialize(objectName(), styleName(), QStringLiteral("MDialogStyle"));
    d->updateMargins();
    MWidgetController::styleChanged();
}

// The palette comes from the scene, so from the window's platform UI theme.
void MDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange) {
        d->style.setPalette(palette());
        update();
    }
    MWidgetController::changeEvent(event);
}
