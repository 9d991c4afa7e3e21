// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mlibrary.h"

#include "mstylesheet_p.h"

MLibrary::MLibrary(const QString &libraryName)
    : m_name(libraryName)
{
    MStyleSheet::addLibrary(m_name);
}

MLibrary::~MLibrary()
{
    MStyleSheet::removeLibrary(m_name);
}

QString MLibrary::name() const
{
    return m_name;
}
