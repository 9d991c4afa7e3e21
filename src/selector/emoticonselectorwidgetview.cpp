// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonselectorwidgetview.h"

#include "emoticonselectorwidget.h"
#include "emoticonselectorwidgetviewstyle.h"
#include "emoticonselectorwidgetviewstylecontainer.h"
#include "mapplication.h"
#include "mbutton.h"
#include "mdialog.h"
#include "mgridlayoutpolicy.h"
#include "mlayout.h"
#include "mscenemanager.h"
#include "mtheme.h"
#include "mwidget.h"
#include "mwindow.h"

#include <QFileInfo>

class EmoticonSelectorWidgetViewPrivate
{
public:
    EmoticonSelectorWidgetViewPrivate() = default;
    ~EmoticonSelectorWidgetViewPrivate() { delete dialog; }
    EmoticonSelectorWidgetViewPrivate(const EmoticonSelectorWidgetViewPrivate &) = delete;
    EmoticonSelectorWidgetViewPrivate &operator=(const EmoticonSelectorWidgetViewPrivate &)
        = delete;

    EmoticonSelectorWidget *controller = nullptr;
    MDialog *dialog = nullptr;
    MLayout *layout = nullptr;
    MGridLayoutPolicy *landscapePolicy = nullptr;
    MGridLayoutPolicy *portraitPolicy = nullptr;
};

namespace {
QString gridStyleName(int column, int columns)
{
    if (column == 0)
        return QStringLiteral("SelectionGridButtonLeft");
    if (column == columns - 1)
        return QStringLiteral("SelectionGridButtonRight");
    return QStringLiteral("SelectionGridButtonCenter");
}
} // namespace

EmoticonSelectorWidgetView::EmoticonSelectorWidgetView(EmoticonSelectorWidget *controller)
    : MWidgetView(controller)
    , d(new EmoticonSelectorWidgetViewPrivate)
{
    d->controller = controller;
    connect(controller, SIGNAL(appearPopup()), this, SLOT(openSelectionPopUp()));
    connect(controller, SIGNAL(emoticonThemeChanged()), this, SLOT(handleEmoticonThemeChanged()));
    connect(this, SIGNAL(selectionDone(QString, QString)), controller,
        SIGNAL(selectionDone(QString, QString)));
    if (MWindow *window = MApplication::activeApplicationWindow()) {
        connect(window->sceneManager(), SIGNAL(orientationChanged(M::Orientation)), this,
            SLOT(updateLayoutOrientation(M::Orientation)));
    }
}

EmoticonSelectorWidgetView::~EmoticonSelectorWidgetView() = default;

void EmoticonSelectorWidgetView::createDialog()
{
    if (d->dialog)
        return;
    d->dialog = new MDialog();
    d->dialog->setObjectName(QStringLiteral("EmoticonDialogStyle"));
    auto *centralWidget = new MWidget(d->dialog);
    d->layout = new MLayout(centralWidget);
    d->landscapePolicy = new MGridLayoutPolicy(d->layout);
    d->portraitPolicy = new MGridLayoutPolicy(d->layout);
    const MWindow *window = MApplication::activeApplicationWindow();
    if (window && window->orientation() == M::Landscape)
        d->layout->setPolicy(d->landscapePolicy);
    else
        d->layout->setPolicy(d->portraitPolicy);
    d->dialog->setCentralWidget(centralWidget);

    const int columnCount = style()->columnCount();
    // 0 is what a stylesheet without the attribute gives; a negative count gives no grid either.
    if (columnCount <= 0)
        return;
    d->dialog->setTitle(qtTrId("qtn_msg_applet_title_select_smiley"));

    const QHash<QString, QString> priorities = d->controller->emoticonPrioritySet();
    const QHash<QString, QString> emoticons = d->controller->emoticonSet();
    const QStringList filePaths = emoticons.keys();
    const bool priorityOrder = !priorities.key(QStringLiteral("0")).isEmpty();
    // A single column would leave the portrait grid without columns: it keeps one.
    const int portraitColumnCount = qMax(1, columnCount / 2);
    EmoticonTheme theme = d->controller->emoticonTheme();

    const struct
    {
        MGridLayoutPolicy *policy;
        int columns;
    } grids[] = { { d->landscapePolicy, columnCount }, { d->portraitPolicy, portraitColumnCount } };

    for (int cell = 0; cell < filePaths.size(); ++cell) {
        const QString filePath = priorityOrder
            ? emoticons.key(priorities.key(QString::number(cell)))
            : filePaths.at(cell);
        // An empty path would make the file system root a pixmap directory.
        if (!filePath.isEmpty())
            MTheme::addPixmapDirectory(QFileInfo(filePath).absolutePath(), M::Recursive);
        const QString iconId = theme.getPickerImage(filePath);
        for (const auto &grid : grids) {
            auto *button = new MButton(iconId, filePath, centralWidget, nullptr);
            button->setTextVisible(false);
            const int column = cell % grid.columns;
            button->setStyleName(gridStyleName(column, grid.columns));
            grid.policy->addItem(button, cell / grid.columns, column, 1, 1, Qt::AlignCenter);
            connect(button, SIGNAL(clicked()), this, SLOT(handleSelection()));
        }
    }
}

MWidgetStyleContainer *EmoticonSelectorWidgetView::createStyleContainer() const
{
    return new EmoticonSelectorWidgetViewStyleContainer;
}

const char *EmoticonSelectorWidgetView::styleType() const
{
    return staticStyleType();
}

void EmoticonSelectorWidgetView::updateLayoutOrientation(M::Orientation newOrientation)
{
    if (!d->layout)
        return;
    if (newOrientation == M::Landscape)
        d->layout->setLandscapePolicy(d->landscapePolicy);
    else
        d->layout->setPortraitPolicy(d->portraitPolicy);
}

void EmoticonSelectorWidgetView::openSelectionPopUp()
{
    MWindow *window = MApplication::activeApplicationWindow();
    if (!window)
        return;
    // A view made before any window was shown follows the rotations of the window it opens in.
    connect(window->sceneManager(), SIGNAL(orientationChanged(M::Orientation)), this,
        SLOT(updateLayoutOrientation(M::Orientation)), Qt::UniqueConnection);
    createDialog();
    d->dialog->appear(MDialog::KeepWhenDone);
}

void EmoticonSelectorWidgetView::handleSelection()
{
    const MButton *button = qobject_cast<MButton *>(sender());
    if (!d->dialog)
        return;
    d->dialog->accept();
    if (!button)
        return;
    const QString filePath = button->text();
    const QString characterCode = d->controller->emoticonSet().value(filePath);
    Q_EMIT selectionDone(characterCode, filePath);
}

void EmoticonSelectorWidgetView::handleEmoticonThemeChanged()
{
    if (!d->dialog)
        return;
    // The grid is rebuilt from the new theme: the old one would offer images of a theme no
    // longer in use, whose files may be gone. A closed picker stays closed.
    const bool shown = d->dialog->isAppeared();
    d->dialog->disappear();
    delete d->dialog;
    d->dialog = nullptr;
    d->layout = nullptr;
    d->landscapePolicy = nullptr;
    d->portraitPolicy = nullptr;
    if (shown)
        openSelectionPopUp();
}

const EmoticonSelectorWidgetViewStyleContainer &EmoticonSelectorWidgetView::style() const
{
    return static_cast<const EmoticonSelectorWidgetViewStyleContainer &>(MWidgetView::style());
}
