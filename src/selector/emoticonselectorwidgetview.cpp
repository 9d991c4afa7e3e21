// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonselectorwidgetview.h"

#include "emojipickermodel.h"
#include "emojipickerpanel_p.h"
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
#include <QKeyEvent>

class EmoticonSelectorWidgetViewPrivate;

namespace {
// Arrow keys move the focus between the cells of the grid shown; a cell clicks on Return, Enter
// or Space itself, and the dialog closes on Escape.
class CellKeys : public QObject
{
public:
    explicit CellKeys(EmoticonSelectorWidgetViewPrivate *d)
        : d(d)
    { }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EmoticonSelectorWidgetViewPrivate *const d;
};
} // namespace

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

    // The cells of the landscape and the portrait grid, in picker order, and their columns.
    QVector<MButton *> cells[2];
    int columns[2] = { 1, 1 };
    // The cell that has or last had the keyboard focus, kept across openings and rotations.
    int currentCell = 0;
    CellKeys keys { this };
    // In place of the grids for the Emoji theme.
    EmojiPickerPanel *emojiPanel = nullptr;

    void sizeEmojiGrid(M::Orientation orientation)
    {
        // As wide as the classic grid in landscape: its columns are larger. Portrait keeps
        // enough columns for the section tabs above the grid, and more rows.
        const int landscape = qMax(1, columns[0] * 4 / 3);
        if (orientation == M::Landscape)
            emojiPanel->setGridSize(landscape, emojiRows);
        else
            emojiPanel->setGridSize(qMax(1, landscape * 3 / 4), emojiRows * 4 / 3);
    }
    static constexpr int emojiRows = 6;

    int shownGrid() const { return layout && layout->policy() == portraitPolicy ? 1 : 0; }
    int cellOf(const QObject *button) const
    {
        // Compared as objects: a cell being destroyed is no longer an MButton to cast to.
        for (const QVector<MButton *> &grid : cells) {
            for (int i = 0; i < grid.size(); ++i) {
                if (static_cast<const QObject *>(grid.at(i)) == button)
                    return i;
            }
        }
        return -1;
    }
    void focusCell(int index)
    {
        if (emojiPanel) {
            if (dialog && dialog->isAppeared())
                emojiPanel->focusGrid();
            return;
        }
        const QVector<MButton *> &shown = cells[shownGrid()];
        if (shown.isEmpty() || !dialog || !dialog->isAppeared())
            return;
        currentCell = qBound(0, index, int(shown.size()) - 1);
        shown.at(currentCell)->setFocus(Qt::OtherFocusReason);
    }
};

bool CellKeys::eventFilter(QObject *watched, QEvent *event)
{
    const int cell = d->cellOf(watched);
    if (cell < 0)
        return false;
    if (event->type() == QEvent::FocusIn)
        d->currentCell = cell;
    if (event->type() != QEvent::KeyPress)
        return false;
    const int count = d->cells[0].size();
    const int columns = d->columns[d->shownGrid()];
    const int lastRow = (count - 1) / columns;
    int target = cell;
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Left:
        target = cell - 1;
        break;
    case Qt::Key_Right:
        target = cell + 1;
        break;
    case Qt::Key_Up:
        target = cell - columns;
        break;
    case Qt::Key_Down:
        // Into a shorter last row: its last cell.
        target = cell / columns < lastRow ? qMin(cell + columns, count - 1) : cell;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    default:
        return false;
    }
    if (target >= 0 && target < count)
        d->focusCell(target);
    return true;
}

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

    EmoticonTheme theme = d->controller->emoticonTheme();
    if (EmojiPickerPanel::servesTheme(theme)) {
        d->columns[0] = columnCount;
        d->emojiPanel = new EmojiPickerPanel;
        d->sizeEmojiGrid(window ? window->orientation() : M::Portrait);
        // The grids' widget goes with their layout and policies.
        d->dialog->setCentralWidget(d->emojiPanel);
        d->layout = nullptr;
        d->landscapePolicy = nullptr;
        d->portraitPolicy = nullptr;
        connect(d->emojiPanel, &EmojiPickerPanel::picked, this, [this](const QString &emoji) {
            d->dialog->accept();
            Q_EMIT selectionDone(emoji, EmojiPickerModel::themeImagePath(emoji));
        });
        return;
    }

    const QHash<QString, QString> priorities = d->controller->emoticonPrioritySet();
    const QHash<QString, QString> emoticons = d->controller->emoticonSet();
    const QStringList filePaths = emoticons.keys();
    const bool priorityOrder = !priorities.key(QStringLiteral("0")).isEmpty();
    // A single column would leave the portrait grid without columns: it keeps one.
    const int portraitColumnCount = qMax(1, columnCount / 2);

    const struct
    {
        MGridLayoutPolicy *policy;
        int columns;
    } grids[] = { { d->landscapePolicy, columnCount }, { d->portraitPolicy, portraitColumnCount } };

    d->cells[0].clear();
    d->cells[1].clear();
    d->columns[0] = columnCount;
    d->columns[1] = portraitColumnCount;
    for (int cell = 0; cell < filePaths.size(); ++cell) {
        const QString filePath = priorityOrder
            ? emoticons.key(priorities.key(QString::number(cell)))
            : filePaths.at(cell);
        // An empty path would make the file system root a pixmap directory.
        if (!filePath.isEmpty())
            MTheme::addPixmapDirectory(QFileInfo(filePath).absolutePath(), M::Recursive);
        const QString iconId = theme.getPickerImage(filePath);
        for (int g = 0; g < 2; ++g) {
            const auto &grid = grids[g];
            auto *button = new MButton(iconId, filePath, centralWidget, nullptr);
            button->setTextVisible(false);
            // The theme names no emoticon: its code is what a screen reader reads out.
            button->setAccessibleName(emoticons.value(filePath));
            button->setFlag(QGraphicsItem::ItemIsFocusable);
            button->installEventFilter(&d->keys);
            d->cells[g].append(button);
            const int column = cell % grid.columns;
            button->setStyleName(gridStyleName(column, grid.columns));
            // The style names tell the column only: a cell that ends its row (a lone cell above
            // all) is named so that its strip ends there, rounded, rather than looking cut off.
            const bool endsRow = cell == filePaths.size() - 1 || column == grid.columns - 1;
            if (endsRow && button->styleName() != QLatin1String("SelectionGridButtonRight"))
                button->setObjectName(QStringLiteral("SelectionGridRowEnd"));
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
    if (d->emojiPanel) {
        d->sizeEmojiGrid(newOrientation);
        d->focusCell(0);
        return;
    }
    if (!d->layout)
        return;
    if (newOrientation == M::Landscape)
        d->layout->setLandscapePolicy(d->landscapePolicy);
    else
        d->layout->setPortraitPolicy(d->portraitPolicy);
    // The focused cell went out of sight with its grid: its twin in the other grid takes over.
    d->focusCell(d->currentCell);
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
    d->focusCell(d->currentCell);
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
    d->emojiPanel = nullptr;
    d->landscapePolicy = nullptr;
    d->portraitPolicy = nullptr;
    d->cells[0].clear();
    d->cells[1].clear();
    if (shown)
        openSelectionPopUp();
}

const EmoticonSelectorWidgetViewStyleContainer &EmoticonSelectorWidgetView::style() const
{
    return static_cast<const EmoticonSelectorWidgetViewStyleContainer &>(MWidgetView::style());
}
