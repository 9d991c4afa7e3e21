// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mapplication.h"

#include "mwindow.h"
#include "mwindow_p.h"

MApplication::MApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{ }

MApplication::~MApplication() = default;

MApplication *MApplication::instance()
{
    return qobject_cast<MApplication *>(QCoreApplication::instance());
}

MWindow *MApplication::activeApplicationWindow()
{
    if (auto *active = qobject_cast<MWindow *>(QApplication::activeWindow()))
        return active;
    return MWindowPrivate::lastShownWindow();
}
