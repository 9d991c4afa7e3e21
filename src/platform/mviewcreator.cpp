// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mviewcreator.h"

#include "mwidgetcontroller.h"

#include <QList>

namespace {
QList<MViewCreatorBase *> &viewCreators()
{
    static QList<MViewCreatorBase *> creators;
    return creators;
}
} // namespace

MViewCreatorBase::MViewCreatorBase(const char *viewClassName)
    : m_viewClassName(viewClassName)
{
    viewCreators().append(this);
}

MViewCreatorBase::~MViewCreatorBase()
{
    viewCreators().removeAll(this);
}

const char *MViewCreatorBase::viewClassName() const
{
    return m_viewClassName;
}

MWidgetView *MViewCreatorBase::createView(const MWidgetController *controller)
{
    if (!controller)
        return nullptr;
    for (const QMetaObject *mo = controller->metaObject(); mo; mo = mo->superClass()) {
        for (const MViewCreatorBase *creator : qAsConst(viewCreators())) {
            if (creator->controllerMetaObject() == mo)
                return creator->create(controller);
        }
    }
    return nullptr;
}
