// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonpickerdialog.h"

#include <emoticonthememanager.h>
#include <mtheme.h>

#include <QFileInfo>
#include <QGridLayout>
#include <QMap>
#include <QToolButton>

#include <memory>

namespace {
constexpr int columns = 6;
constexpr int iconSide = 32;
} // namespace

EmoticonPickerDialog::EmoticonPickerDialog(const QString &accountPath, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(qtTrId("qtn_msg_applet_title_select_smiley"));
    EmoticonTheme theme = EmoticonThemeManager::m_pInstance->themeForAccountPath(accountPath);
    // The theme's picker order: default code to position, image path to default code.
    const QHash<QString, QString> positions = theme.codeSequenceToPriorityMapping();
    const QHash<QString, QString> paths = theme.filePathToCodeSequenceMapping();
    QMap<int, QString> ordered;
    for (auto it = paths.constBegin(); it != paths.constEnd(); ++it)
        ordered.insert(
            positions.value(it.value(), QString::number(1000 + ordered.size())).toInt(), it.key());

    auto *grid = new QGridLayout(this);
    int cell = 0;
    for (const QString &path : qAsConst(ordered)) {
        const QString code = paths.value(path);
        // An installed theme names its picker images by file name in its own directory.
        MTheme::addPixmapDirectory(QFileInfo(path).absolutePath());
        const std::unique_ptr<QPixmap> pixmap(
            MTheme::pixmapCopy(theme.getPickerImage(path), QSize(iconSide, iconSide)));
        auto *button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setIconSize(QSize(iconSide, iconSide));
        button->setIcon(pixmap ? QIcon(*pixmap) : QIcon(path));
        button->setToolTip(code);
        connect(button, &QToolButton::clicked, this, [this, code, path] {
            Q_EMIT chosen(code, path);
            accept();
        });
        grid->addWidget(button, cell / columns, cell % columns);
        ++cell;
    }
}
