// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mwidgetcreator.h"

#include <QHash>

namespace {
QHash<QString, MWidgetCreatorBase *> &widgetCreators()
{
    static QHash<QString, MWidgetCreatorBase *> creators;
    return creators;
}
} // namespace

MWidgetCreatorBase::MWidgetCreatorBase(
    const char *widgetClassName, const char *libraryName, M::AssemblyType assemblyType)
    : m_className(widgetClassName)
{
    Q_UNUSED(libraryName)
    Q_UNUSED(assemblyType)
    widgetCreators().insert(QString::fromLatin1(m_className), this);
}

MWidgetCreatorBase::~MWidgetCreatorBase()
{
    const QString name = QString::fromLatin1(m_className);
    if (widgetCreators().value(name) == this)
        widgetCreators().remove(name);
}

MWidgetController *MWidgetCreatorBase::createWidget(const QString &className)
{
    const MWidgetCreatorBase *creator = widgetCreators().value(className);
    return creator ? creator->create() : nullptr;
}
