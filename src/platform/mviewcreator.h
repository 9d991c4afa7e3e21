// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MVIEWCREATOR_H
#define GLYPHMORPH_MVIEWCREATOR_H

#include "glyphmorph_export.h"

class MWidgetController;
class MWidgetView;
struct QMetaObject;

/**
 * Makes the views of one controller class. Registered while it exists; usually an object with
 * static storage duration, a MViewCreator<V, C>. A controller gets the view of the nearest class
 * in its inheritance chain that has a creator.
 */
class GLYPHMORPH_EXPORT MViewCreatorBase
{
public:
    explicit MViewCreatorBase(const char *viewClassName);
    virtual ~MViewCreatorBase();
    MViewCreatorBase(const MViewCreatorBase &) = delete;
    MViewCreatorBase &operator=(const MViewCreatorBase &) = delete;

    /** A new view of @p controller. */
    virtual MWidgetView *create(const MWidgetController *controller) const = 0;
    /** The style type of the views made. */
    virtual const char *styleType() const = 0;
    /** The controller class whose views this creator makes. */
    virtual const QMetaObject *controllerMetaObject() const = 0;

    const char *viewClassName() const;

    /** A new view for @p controller, or null when no creator serves its class. */
    static MWidgetView *createView(const MWidgetController *controller);

private:
    const char *const m_viewClassName;
};

/**
 * The creator of views V of controllers C. V has a constructor taking a C* and a static
 * staticStyleType().
 */
template<class V, class C> class MViewCreator : public MViewCreatorBase
{
public:
    explicit MViewCreator(const char *viewClassName)
        : MViewCreatorBase(viewClassName)
    { }
    ~MViewCreator() override = default;

    MWidgetView *create(const MWidgetController *controller) const override
    {
        return new V(static_cast<C *>(const_cast<MWidgetController *>(controller)));
    }
    const char *styleType() const override { return V::staticStyleType(); }
    const QMetaObject *controllerMetaObject() const override { return &C::staticMetaObject; }
};

#endif
