// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MSTYLECREATOR_H
#define GLYPHMORPH_MSTYLECREATOR_H

#include "glyphmorph_export.h"
#include "mnamespace.h"

#include <QMetaObject>
#include <QMetaProperty>
#include <QString>

class MWidgetStyle;

/**
 * Makes styles of one class by class name, for the style containers whose styleType() names it.
 * Registered while it exists; usually an object with static storage duration, a MStyleCreator<S>.
 */
class GLYPHMORPH_EXPORT MStyleCreatorBase
{
public:
    MStyleCreatorBase(const char *styleClassName, const char *libraryName,
        M::AssemblyType assemblyType = M::Library);
    virtual ~MStyleCreatorBase();
    MStyleCreatorBase(const MStyleCreatorBase &) = delete;
    MStyleCreatorBase &operator=(const MStyleCreatorBase &) = delete;

    /** A new style with default attribute values. */
    virtual MWidgetStyle *create() const = 0;
    /** The type name of attribute (property) @p name, or null when the style has none. */
    virtual const char *attributeType(const char *name) const = 0;
    virtual const QMetaObject *metaObject() const = 0;

    /** A new style of class @p styleClassName, or null when no creator for it exists. */
    static MWidgetStyle *createStyle(const QString &styleClassName);

private:
    const char *const m_className;
};

/** The creator of style class S, derived from MWidgetStyle. */
template<class S> class MStyleCreator : public MStyleCreatorBase
{
public:
    MStyleCreator(const char *styleClassName, const char *libraryName,
        M::AssemblyType assemblyType = M::Library)
        : MStyleCreatorBase(styleClassName, libraryName, assemblyType)
    { }
    ~MStyleCreator() override = default;

    MWidgetStyle *create() const override { return new S; }
    const char *attributeType(const char *name) const override
    {
        const int index = S::staticMetaObject.indexOfProperty(name);
        if (index < QObject::staticMetaObject.propertyOffset())
            return nullptr;
        return S::staticMetaObject.property(index).typeName();
    }
    const QMetaObject *metaObject() const override { return &S::staticMetaObject; }
};

#endif
