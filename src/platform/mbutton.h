// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MBUTTON_H
#define GLYPHMORPH_MBUTTON_H

#include "glyphmorph_export.h"
#include "mwidgetcontroller.h"

#include <memory>

class MButtonPrivate;

/**
 * A push button showing an icon (a platform icon id drawn through MTheme) above a text. Its look
 * is the style "MButtonStyle" of its style name, in mode "pressed" while held down. A button made
 * focusable (QGraphicsItem::ItemIsFocusable) shows its focus with a frame in the palette's
 * highlight colour and is clicked with Space, Return or Enter.
 */
class GLYPHMORPH_EXPORT MButton : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QString iconID READ iconID WRITE setIconID)
    Q_PROPERTY(bool textVisible READ isTextVisible WRITE setTextVisible)

public:
    explicit MButton(QGraphicsItem *parent = nullptr, MWidgetModel *model = nullptr);
    explicit MButton(
        const QString &text, QGraphicsItem *parent = nullptr, MWidgetModel *model = nullptr);
    MButton(const QString &iconID, const QString &text, QGraphicsItem *parent = nullptr,
        MWidgetModel *model = nullptr);
    ~MButton() override;

    QString text() const;
    void setText(const QString &text);
    QString iconID() const;
    void setIconID(const QString &iconID);
    /** Whether the text is drawn; it is kept either way. */
    bool isTextVisible() const;
    void setTextVisible(bool visible);
    bool isDown() const;

Q_SIGNALS:
    void pressed();
    void released();
    /** A tap or a click: pressed and released inside the button (a tap arrives as a click). */
    void clicked();

protected:
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void ungrabMouseEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void styleChanged() override;
    void changeEvent(QEvent *event) override;

private:
    const std::unique_ptr<MButtonPrivate> d;
};

#endif
