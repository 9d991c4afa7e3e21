// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MWIDGETSTYLE_H
#define GLYPHMORPH_MWIDGETSTYLE_H

#include "glyphmorph_export.h"

#include <QColor>
#include <QObject>
#include <QSize>

#include <memory>

class MWidgetStylePrivate;

/**
 * The look of a widget, as the stylesheets give it. A stylesheet attribute "foo-bar" sets the
 * property fooBar; derived styles add properties of their own.
 */
class GLYPHMORPH_EXPORT MWidgetStyle : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(int borderWidth READ borderWidth WRITE setBorderWidth)
    Q_PROPERTY(int borderRadius READ borderRadius WRITE setBorderRadius)
    Q_PROPERTY(QString roundedCorners READ roundedCorners WRITE setRoundedCorners)
    Q_PROPERTY(int padding READ padding WRITE setPadding)
    Q_PROPERTY(QSize preferredSize READ preferredSize WRITE setPreferredSize)
    Q_PROPERTY(QSize iconSize READ iconSize WRITE setIconSize)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor)
    Q_PROPERTY(int fontSize READ fontSize WRITE setFontSize)

public:
    MWidgetStyle();
    ~MWidgetStyle() override;

    /** Invalid (the default) for no background. */
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);
    /** Invalid (the default) for no border. */
    QColor borderColor() const;
    void setBorderColor(const QColor &color);
    int borderWidth() const;
    void setBorderWidth(int width);
    int borderRadius() const;
    void setBorderRadius(int radius);
    /** Which corners borderRadius() rounds: "all" (the default), "left", "right" or "none". */
    QString roundedCorners() const;
    void setRoundedCorners(const QString &corners);
    /** Space between the border and the content. */
    int padding() const;
    void setPadding(int padding);
    /** Invalid (the default) to size by content. */
    QSize preferredSize() const;
    void setPreferredSize(const QSize &size);
    QSize iconSize() const;
    void setIconSize(const QSize &size);
    QColor textColor() const;
    void setTextColor(const QColor &color);
    /** In pixels. */
    int fontSize() const;
    void setFontSize(int pixels);

private:
    const std::unique_ptr<MWidgetStylePrivate> d;
};

#endif
