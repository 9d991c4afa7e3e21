// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "messengerwindow.h"

#include "conversationview.h"
#include "messengerpage.h"

#include <emojicompleter.h>
#include <emoticonselectorwidget.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mbutton.h>
#include <mgconfitem.h>
#include <mscenemanager.h>
#include <mtextedit.h>
#include <mtheme.h>

#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QTextDocument>

#include <algorithm>

namespace {
constexpr int editorFontPixelSize = 17;

Glyphmorpher *morpher()
{
    if (!Glyphmorpher::m_pInstance)
        Glyphmorpher::m_pInstance = new Glyphmorpher;
    return Glyphmorpher::m_pInstance;
}

EmoticonThemeManager *themeManager()
{
    morpher();
    return EmoticonThemeManager::m_pInstance;
}

} // namespace

class MessengerWindowPrivate
{
public:
    MessengerWindowPrivate(MessengerWindow *q, const QString &accountPath);
    MessengerWindowPrivate(const MessengerWindowPrivate &) = delete;
    MessengerWindowPrivate &operator=(const MessengerWindowPrivate &) = delete;

    void transformEditor(int position, int added);
    void transformWholeEditor();
    void clearEditor();
    void makeSelector();
    void scheduleFollow();
    void followEmoticonTheme();
    void followPlatformTheme();
    void updateSubtitle();
    void fillMenu();

    MessengerWindow *const q;
    const QString accountPath;
    MessengerPage *const page;
    MGConfItem *const platformTheme;
    MGConfItem *const emoticonTheme;
    EmoticonSelectorWidget *selector = nullptr;
    EmojiCompleter *completer = nullptr;
    bool followScheduled = false;
    QMenu *menu = nullptr;
    // The walk edits the document, which reports its own edits again.
    bool transforming = false;
    // The last change made an image before the cursor: one Backspace takes it back to its code.
    bool revertible = false;
};

MessengerWindowPrivate::MessengerWindowPrivate(MessengerWindow *q, const QString &accountPath)
    : q(q)
    , accountPath(accountPath)
    , page(new MessengerPage)
    , platformTheme(new MGConfItem(QStringLiteral("/meegotouch/theme/name"), q))
    , emoticonTheme(
          new MGConfItem(QStringLiteral("/Messaging/Settings/CurrentCustomEmoticonTheme"), q))
{ }

void MessengerWindowPrivate::transformEditor(int position, int added)
{
    if (transforming)
        return;
    transforming = true;
    page->editor->setProperty("positionOfChange", position);
    page->editor->setProperty("charactersPasted", added);
    const auto imageBeforeCursor = [this] {
        const int cursor = page->editor->cursorPosition();
        return cursor > 0
            && page->editor->document()->characterAt(cursor - 1)
            == QChar::ObjectReplacementCharacter;
    };
    const bool imageBefore = imageBeforeCursor();
    morpher()->transformTextEditContentToEmoticonInPlace(page->editor, accountPath, false);
    revertible = !imageBefore && imageBeforeCursor();
    transforming = false;
}

void MessengerWindowPrivate::transformWholeEditor()
{
    MTextEdit *editor = page->editor;
    const QString plainText = morpher()->transformTextEditContentToPlainText(editor);
    transforming = true;
    // The built-in theme keeps its image paths when the platform UI theme redraws it, and a
    // document keeps the images it holds: a cleared document loads them afresh.
    editor->document()->clear();
    editor->setText(plainText);
    morpher()->transformTextEditContentToEmoticonInPlace(editor, accountPath, true);
    transforming = false;
    QTextCursor end = editor->textCursor();
    end.movePosition(QTextCursor::End);
    editor->setTextCursor(end);
}

void MessengerWindowPrivate::clearEditor()
{
    transforming = true;
    page->editor->setText(QString());
    transforming = false;
}

void MessengerWindowPrivate::makeSelector()
{
    // In the scene but not drawn: it only opens its dialog.
    selector = new EmoticonSelectorWidget(page);
    selector->resize(0, 0);
    selector->setServiceName(accountPath);
    QObject::connect(selector, &EmoticonSelectorWidget::selectionDone, q,
        [this](const QString &code, const QString &path) {
            morpher()->addEmoticonToTextEdit(page->editor, code, path);
            page->editor->setFocus();
        });
}

// One update for the several signals a single change brings.
void MessengerWindowPrivate::scheduleFollow()
{
    if (followScheduled)
        return;
    followScheduled = true;
    QMetaObject::invokeMethod(
        q, [this] { followEmoticonTheme(); }, Qt::QueuedConnection);
}

void MessengerWindowPrivate::followEmoticonTheme()
{
    followScheduled = false;
    page->conversation->rerender();
    transformWholeEditor();
    // The picker looks the account's theme up again and rebuilds its grid if it changed.
    selector->handleThemeChanged();
    updateSubtitle();
}

void MessengerWindowPrivate::followPlatformTheme()
{
    page->look = lookFor(MTheme::currentTheme());
    MTextEdit *editor = page->editor;
    editor->setPalette(page->look.editor);
    page->conversation->setColors(page->look.conversation);
    updateSubtitle();
    page->update();
}

void MessengerWindowPrivate::updateSubtitle()
{
    const EmoticonTheme theme = themeManager()->themeForAccountPath(accountPath);
    page->subtitle = MessengerWindow::tr("Emoticons: %1 · UI theme: %2")
                         .arg(theme.isValid() ? theme.themeName() : MessengerWindow::tr("none"),
                             MTheme::currentTheme());
    page->update();
}

void MessengerWindowPrivate::fillMenu()
{
    delete menu;
    menu = new QMenu(q);
    // A widget outside the scene: it takes the platform UI theme's colours only when given them.
    menu->setPalette(MTheme::palette());
    const auto addHeading = [this](const QString &text) {
        menu->addAction(text)->setEnabled(false);
    };

    addHeading(MessengerWindow::tr("Emoticon theme"));
    auto *emoticonGroup = new QActionGroup(menu);
    EmoticonThemeManager *manager = themeManager();
    QList<EmoticonTheme> themes = manager->emoticonThemes().values();
    std::sort(themes.begin(), themes.end(), [](const EmoticonTheme &a, const EmoticonTheme &b) {
        return a.themeName() != b.themeName() ? a.themeName() < b.themeName()
                                              : a.themeUUID() < b.themeUUID();
    });
    const QString current = manager->currentTheme();
    for (const EmoticonTheme &theme : themes) {
        // Themes bound to a messaging service are not for the user to choose.
        if (!theme.serviceUUID().isEmpty())
            continue;
        QAction *action = menu->addAction(theme.themeName());
        action->setCheckable(true);
        action->setChecked(theme.themeUUID() == current);
        emoticonGroup->addAction(action);
        const QString uuid = theme.themeUUID();
        QObject::connect(
            action, &QAction::triggered, q, [uuid] { themeManager()->setCurrentTheme(uuid); });
    }

    menu->addSeparator();
    addHeading(MessengerWindow::tr("Platform UI theme"));
    auto *platformGroup = new QActionGroup(menu);
    QStringList platformThemes = MTheme::availableThemes();
    platformThemes.sort();
    for (const QString &name : platformThemes) {
        QAction *action = menu->addAction(name);
        action->setCheckable(true);
        action->setChecked(name == MTheme::currentTheme());
        platformGroup->addAction(action);
        QObject::connect(
            action, &QAction::triggered, q, [this, name] { platformTheme->set(name); });
    }
}

MessengerWindow::MessengerWindow(const QString &accountPath, QWidget *parent)
    : MWindow(parent)
    , d(std::make_unique<MessengerWindowPrivate>(this, accountPath))
{
    setWindowTitle(tr("Glyphmorph messenger"));
    MessengerPage *page = d->page;
    page->title = tr("Glyphmorph messenger");
    page->conversation = new ConversationView(accountPath, page);
    page->menuButton = new MButton(tr("Themes"), page);
    page->smileyButton
        = new MButton(QStringLiteral("icon-m-messaging-smiley-happy"), QString(), page);
    page->smileyButton->setTextVisible(false);
    page->smileyButton->setAccessibleName(tr("Emoticons"));
    page->sendButton = new MButton(tr("Send"), page);
    page->editor = new MTextEdit(page);
    QFont editorFont = page->editor->font();
    editorFont.setPixelSize(editorFontPixelSize);
    page->editor->document()->setDefaultFont(editorFont);
    // ":thu" offers 👍 and the other emoji whose shortcodes begin so.
    d->completer = new EmojiCompleter(page->editor);
    setCentralWidget(page);

    connect(page->editor->document(), &QTextDocument::contentsChange, this,
        [this](int position, int, int added) { d->transformEditor(position, added); });
    connect(page->smileyButton, &MButton::clicked, this, &MessengerWindow::openPicker);
    connect(page->sendButton, &MButton::clicked, this, &MessengerWindow::send);
    connect(page->menuButton, &MButton::clicked, this, &MessengerWindow::openMenu);

    EmoticonThemeManager *manager = themeManager();
    connect(
        manager, &EmoticonThemeManager::currentThemeChanged, this, [this] { d->scheduleFollow(); });
    connect(manager, &EmoticonThemeManager::availableThemesChanged, this,
        [this] { d->scheduleFollow(); });
    // The manager does not report the first change this process makes to the current theme.
    connect(d->emoticonTheme, &MGConfItem::valueChanged, this, [this] { d->scheduleFollow(); });
    d->makeSelector();
    connect(
        d->platformTheme, &MGConfItem::valueChanged, this, [this] { d->followPlatformTheme(); });
    d->followPlatformTheme();
    page->editor->setFocus();
}

MessengerWindow::~MessengerWindow() = default;

ConversationView *MessengerWindow::conversation() const
{
    return d->page->conversation;
}

MTextEdit *MessengerWindow::editor() const
{
    return d->page->editor;
}

EmoticonSelectorWidget *MessengerWindow::selector() const
{
    return d->selector;
}

void MessengerWindow::type(const QString &text)
{
    MTextEdit *editor = d->page->editor;
    for (int i = 0; i < text.size(); ++i) {
        const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTextCursor cursor = editor->textCursor();
        cursor.insertText(text.mid(i, length));
        editor->setTextCursor(cursor);
        i += length - 1;
    }
}

void MessengerWindow::send()
{
    const QString text = morpher()->transformTextEditContentToPlainText(d->page->editor).trimmed();
    if (text.isEmpty())
        return;
    d->page->conversation->addMessage(text, ConversationView::Outgoing);
    d->clearEditor();
}

void MessengerWindow::openPicker()
{
    d->selector->appear();
}

void MessengerWindow::openMenu()
{
    d->fillMenu();
    const MButton *button = d->page->menuButton;
    const QPoint below = mapFromScene(button->mapToScene(button->rect().bottomRight()));
    d->menu->popup(viewport()->mapToGlobal(below - QPoint(d->menu->sizeHint().width(), 0)));
}

// Return sends, as in most messengers, unless it completes a shortcode; Shift+Return starts a
// new line. The first Backspace after a code became an image takes the image back to the code,
// as phones do.
void MessengerWindow::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & Qt::ShiftModifier) && d->page->editor->hasFocus()
        && !d->completer->isOpen()) {
        send();
        event->accept();
        return;
    }
    const bool revert = d->revertible && event->key() == Qt::Key_Backspace
        && event->modifiers() == Qt::NoModifier && d->page->editor->hasFocus();
    d->revertible = false;
    if (revert && morpher()->revertEmoticonBeforeCursor(d->page->editor)) {
        event->accept();
        return;
    }
    MWindow::keyPressEvent(event);
}
