// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGETCREATOR_H
#define GLYPHMORPH_MWIDGETCREATOR_H

#include "glyphmorph_export.h"
#include "mnamespace.h"

#include <QString>

class MWidgetController;
struct QMetaObject;

/**
 * Makes widgets of one class by class name. Registered while it exists; usually an object with
 * static storage duration, a MWidgetCreator<T>.
 */
class GLYPHMORPH_EXPORT MWidgetCreatorBase
{
public:
    MWidgetCreatorBase(const char *widgetClassName, const char *libraryName,
        M::AssemblyType assemblyType = M::Library);
    virtual ~MWidgetCreatorBase();
    MWidgetCreatorBase(const MWidgetCreatorBase &) = delete;
    MWidgetCreatorBase &operator=(const MWidgetCreatorBase &) = delete;

    /** A new widget without parent item. */
    virtual MWidgetController *create() const = 0;
    virtual const QMetaObject *metaObject() const = 0;

    /** A new widget of class @p className, or null when no creator for it exists. */
    static MWidgetController *createWidget(const QString &className);

private:
    const char *const m_className;
};

/** The creator of widget class T, which has a constructor taking a parent item. */
template<class T> class MWidgetCreator : public MWidgetCreatorBase
{
public:
    MWidgetCreator(const char *widgetClassName, const char *libraryName,
        M::AssemblyType assemblyType = M::Library)
        : MWidgetCreatorBase(widgetClassName, libraryName, assemblyType)
    { }
    ~MWidgetCreator() override = default;

    MWidgetController *create() const override { return new T(nullptr); }
    const QMetaObject *metaObject() const override { return &T::staticMetaObject; }
};

#endif
