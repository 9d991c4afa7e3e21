// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef WIDGETSCHAT_EMOTICONPICKERDIALOG_H
#define WIDGETSCHAT_EMOTICONPICKERDIALOG_H

#include <QDialog>

/** A grid of the account's emoticons, one tool button each; a click chooses one and closes. */
class EmoticonPickerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit EmoticonPickerDialog(const QString &accountPath, QWidget *parent = nullptr);

Q_SIGNALS:
    void chosen(const QString &code, const QString &imagePath);
};

#endif
