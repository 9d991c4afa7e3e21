// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mstylecreator.h"

#include <QHash>

namespace {
QHash<QString, MStyleCreatorBase *> &styleCreators()
{
    static QHash<QString, MStyleCreatorBase *> creators;
    return creators;
}
} // namespace

MStyleCreatorBase::MStyleCreatorBase(
    const char *styleClassName, const char *libraryName, M::AssemblyType assemblyType)
    : m_className(styleClassName)
{
    Q_UNUSED(libraryName)
    Q_UNUSED(assemblyType)
    styleCreators().insert(QString::fromLatin1(m_className), this);
}

MStyleCreatorBase::~MStyleCreatorBase()
{
    const QString name = QString::fromLatin1(m_className);
    if (styleCreators().value(name) == this)
        styleCreators().remove(name);
}

MWidgetStyle *MStyleCreatorBase::createStyle(const QString &styleClassName)
{
    const MStyleCreatorBase *creator = styleCreators().value(styleClassName);
    return creator ? creator->create() : nullptr;
}
