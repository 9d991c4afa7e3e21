// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MESSENGER_MESSENGERWINDOW_H
#define GLYPHMORPH_MESSENGER_MESSENGERWINDOW_H

#include <mwindow.h>

#include <memory>

class ConversationView;
class EmoticonSelectorWidget;
class MTextEdit;
class MessengerWindowPrivate;

/**
 * A one-conversation messenger: the conversation, an editor in which codes become emoticons while
 * typing and shortcodes (":thu") complete to emoji, a smiley button opening the emoticon picker,
 * a send button, and a menu for the emoticon theme and the platform UI theme. Everything follows
 * theme changes, wherever they come from.
 */
class MessengerWindow : public MWindow
{
    Q_OBJECT

public:
    /** Shows the conversation of the messaging account at @p accountPath. */
    explicit MessengerWindow(const QString &accountPath, QWidget *parent = nullptr);
    ~MessengerWindow() override;

    ConversationView *conversation() const;
    MTextEdit *editor() const;
    EmoticonSelectorWidget *selector() const;

    /** Enters @p text at the editor's cursor one character at a time, as a keyboard does. */
    void type(const QString &text);

public Q_SLOTS:
    /** Sends the editor's content as plain text and empties the editor; nothing when blank. */
    void send();
    void openPicker();
    void openMenu();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    const std::unique_ptr<MessengerWindowPrivate> d;
};

#endif
