// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MDIALOG_H
#define GLYPHMORPH_MDIALOG_H

#include "glyphmorph_export.h"
#include "mwidgetcontroller.h"

#include <memory>

class MDialogPrivate;
class MSceneManager;

/**
 * A dialog with a title and a central widget, shown above the content of the active application
 * window. Showing it never blocks; the dialog object stays alive after it is closed (unless it
 * was shown with DestroyWhenDone) and can be shown again. Its look is the style "MDialogStyle".
 */
class GLYPHMORPH_EXPORT MDialog : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)

public:
    enum DeletionPolicy
    {
        KeepWhenDone = 0,
        DestroyWhenDone = 1
    };
    Q_ENUM(DeletionPolicy)

    MDialog();
    explicit MDialog(const QString &title);
    ~MDialog() override;

    QString title() const;
    void setTitle(const QString &title);

    /** The dialog takes @p widget as its child item and deletes the one it held before. */
    void setCentralWidget(QGraphicsWidget *widget);
    QGraphicsWidget *centralWidget() const;

    /** The scene manager of the window showing the dialog; null while it is not shown. */
    MSceneManager *sceneManager() const;
    bool isAppeared() const;

    /** Shows the dialog in MApplication::activeApplicationWindow(); nothing when there is none or
     *  it is shown already. With DestroyWhenDone the dialog deletes itself once closed. */
    void appear(DeletionPolicy policy = KeepWhenDone);

public Q_SLOTS:
    /** Closes the dialog as done. */
    void accept();
    /** Closes the dialog as cancelled; also what tapping outside it or Escape does. */
    void reject();
    /** Closes the dialog without a verdict. */
    void disappear();

Q_SIGNALS:
    void appeared();
    void disappeared();
    void accepted();
    void rejected();

protected:
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF &constraint = QSizeF()) const override;
    bool event(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void styleChanged() override;
    void changeEvent(QEvent *event) override;

private:
    const std::unique_ptr<MDialogPrivate> d;
};

#endif
