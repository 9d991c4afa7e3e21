// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGET_H
#define GLYPHMORPH_MWIDGET_H

#include "glyphmorph_export.h"

#include <QGraphicsWidget>

#include <memory>

class MWidgetPrivate;

/**
 * The base of the platform's graphics widgets; a plain container when used by itself.
 *
 * Platform widgets are seen by assistive technology (QAccessible) as children of the window
 * showing them, named by accessibleName() or, where a widget has one, by its visible text.
 */
class GLYPHMORPH_EXPORT MWidget : public QGraphicsWidget
{
    Q_OBJECT
    Q_PROPERTY(QString accessibleName READ accessibleName WRITE setAccessibleName)

public:
    explicit MWidget(QGraphicsItem *parent = nullptr);
    ~MWidget() override;

    /** What assistive technology reads out for the widget; empty by default. */
    QString accessibleName() const;
    void setAccessibleName(const QString &name);

private:
    const std::unique_ptr<MWidgetPrivate> d;
};

#endif
