// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MLAYOUT_H
#define GLYPHMORPH_MLAYOUT_H

#include "glyphmorph_export.h"

#include <QGraphicsLayout>
#include <QList>

#include <memory>

class MAbstractLayoutPolicy;
class MLayoutPrivate;

/**
 * A layout holding several arrangements (policies) of its items, one of them active. Only the
 * items of the active policy are shown; the others are hidden. A layout made on a widget becomes
 * that widget's layout. Landscape and portrait policies take over as the window turns.
 */
class GLYPHMORPH_EXPORT MLayout : public QGraphicsLayout
{
public:
    explicit MLayout(QGraphicsLayoutItem *parent = nullptr);
    ~MLayout() override;

    /** Makes @p policy, one of this layout's, the active one. */
    void setPolicy(MAbstractLayoutPolicy *policy);
    MAbstractLayoutPolicy *policy() const;
    /** The policy for a landscape window; made active at once when the window is landscape. */
    void setLandscapePolicy(MAbstractLayoutPolicy *policy);
    MAbstractLayoutPolicy *landscapePolicy() const;
    /** The policy for a portrait window; made active at once when the window is portrait. */
    void setPortraitPolicy(MAbstractLayoutPolicy *policy);
    MAbstractLayoutPolicy *portraitPolicy() const;
    QList<MAbstractLayoutPolicy *> registeredPolicies() const;

    /** Takes @p item out of every policy. */
    void removeItem(const QGraphicsLayoutItem *item);

    int count() const override;
    QGraphicsLayoutItem *itemAt(int index) const override;
    void removeAt(int index) override;
    void setGeometry(const QRectF &rect) override;

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;

private:
    friend class MAbstractLayoutPolicy;
    void registerPolicy(MAbstractLayoutPolicy *policy);
    void unregisterPolicy(MAbstractLayoutPolicy *policy);
    void policyItemAdded(MAbstractLayoutPolicy *policy, QGraphicsLayoutItem *item);
    void policyItemRemoved(QGraphicsLayoutItem *item);

    const std::unique_ptr<MLayoutPrivate> d;
};

#endif
