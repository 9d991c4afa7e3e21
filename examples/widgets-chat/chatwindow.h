// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef WIDGETSCHAT_CHATWINDOW_H
#define WIDGETSCHAT_CHATWINDOW_H

#include <QWidget>

class QTextBrowser;
class QTextEdit;

/** A conversation, an input whose codes become images as they are typed and whose shortcodes
 *  complete to emoji, a picker and Send. */
class ChatWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ChatWindow(const QString &accountPath, QWidget *parent = nullptr);

    QTextEdit *input() const { return m_input; }
    /** Adds @p text to the conversation as one message, from "me" or from the other side. */
    void addMessage(const QString &text, bool mine);

public Q_SLOTS:
    void send();
    void openPicker();

private:
    const QString m_accountPath;
    QTextBrowser *const m_conversation;
    QTextEdit *const m_input;
    // The walk edits the document, which reports those edits too.
    bool m_replacing = false;
};

#endif
