// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "chatwindow.h"

#include "emoticonpickerdialog.h"

#include <emojicompleter.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mtheme.h>

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {
Glyphmorpher *morpher()
{
    return Glyphmorpher::m_pInstance;
}
} // namespace

ChatWindow::ChatWindow(const QString &accountPath, QWidget *parent)
    : QWidget(parent)
    , m_accountPath(accountPath)
    , m_conversation(new QTextBrowser(this))
    , m_input(new QTextEdit(this))
{
    setWindowTitle(tr("Chat"));
    m_input->setAcceptRichText(false);
    m_input->setFixedHeight(m_input->fontMetrics().lineSpacing() * 3 + 12);

    auto *picker = new QToolButton(this);
    const std::unique_ptr<QPixmap> smiley(
        MTheme::pixmapCopy(QStringLiteral("icon-m-messaging-smiley-happy"), QSize(24, 24)));
    if (smiley)
        picker->setIcon(QIcon(*smiley));
    picker->setIconSize(QSize(24, 24));
    picker->setToolTip(qtTrId("qtn_msg_applet_title_select_smiley"));
    auto *sendButton = new QPushButton(tr("Send"), this);

    auto *inputRow = new QHBoxLayout;
    inputRow->addWidget(m_input, 1);
    inputRow->addWidget(picker, 0, Qt::AlignBottom);
    inputRow->addWidget(sendButton, 0, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_conversation, 1);
    layout->addLayout(inputRow);

    // The application tells the walk where each change began and how much it inserted; the
    // walk replaces what was completed there, in one undo step.
    connect(m_input->document(), &QTextDocument::contentsChange, this,
        [this](int position, int, int added) {
            m_input->setProperty("positionOfChange", position);
            m_input->setProperty("charactersPasted", added);
        });
    connect(m_input, &QTextEdit::textChanged, this, [this] {
        if (m_replacing)
            return;
        m_replacing = true;
        morpher()->transformTextEditContentToEmoticonInPlace(m_input, m_accountPath, false);
        m_replacing = false;
    });
    // Another theme: what was typed is read back and replaced with the new images.
    connect(EmoticonThemeManager::m_pInstance, &EmoticonThemeManager::currentThemeChanged, this,
        [this] {
            morpher()->transformTextEditContentToEmoticonInPlace(m_input, m_accountPath, true);
        });
    // ":thu" offers 👍 and the other emoji whose shortcodes begin so; the emoji taken goes through
    // the replacement above as typed text does.
    new EmojiCompleter(m_input);
    connect(picker, &QToolButton::clicked, this, &ChatWindow::openPicker);
    connect(sendButton, &QPushButton::clicked, this, &ChatWindow::send);
    m_input->setFocus();
}

void ChatWindow::addMessage(const QString &text, bool mine)
{
    const QString html = morpher()->transformPlainTextToHTML(
        text.toHtmlEscaped(), m_accountPath, 0, QStringLiteral("<br>"));
    m_conversation->append(
        QStringLiteral("<b>%1</b> %2").arg(mine ? tr("me:") : tr("them:"), html));
}

void ChatWindow::send()
{
    const QString text = morpher()->transformTextEditContentToPlainText(m_input);
    if (text.trimmed().isEmpty())
        return;
    addMessage(text, true);
    m_input->clear();
}

void ChatWindow::openPicker()
{
    auto *dialog = new EmoticonPickerDialog(m_accountPath, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &EmoticonPickerDialog::chosen, this,
        [this](const QString &code, const QString &imagePath) {
            morpher()->addEmoticonToTextEdit(m_input, code, imagePath);
            m_input->setFocus();
        });
    dialog->open();
}
