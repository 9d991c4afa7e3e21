// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONSELECTORWIDGETVIEW_H
#define GLYPHMORPH_EMOTICONSELECTORWIDGETVIEW_H

#include "glyphmorph_export.h"
#include "mnamespace.h"
#include "mwidgetview.h"

#include <memory>

class EmoticonSelectorWidget;
class EmoticonSelectorWidgetViewPrivate;
class EmoticonSelectorWidgetViewStyleContainer;

/**
 * The view of EmoticonSelectorWidget: on the widget's appear() it shows a dialog titled "Select
 * smiley" with one button per emoticon of the widget's theme, in a landscape grid of the style's
 * columnCount columns and a portrait grid of half as many, following the window's orientation.
 * A tap closes the dialog and reports the emoticon through the widget's selectionDone(). The
 * dialog is built on the first opening and reused for the life of the view.
 */
class GLYPHMORPH_EXPORT EmoticonSelectorWidgetView : public MWidgetView
{
    Q_OBJECT

public:
    explicit EmoticonSelectorWidgetView(EmoticonSelectorWidget *controller);
    ~EmoticonSelectorWidgetView() override;

    static const char *staticStyleType() { return "EmoticonSelectorWidgetViewStyle"; }

    /** Builds the dialog from the controller's data, unless it exists already. */
    void createDialog();

Q_SIGNALS:
    void selectionDone(const QString &characterCode, const QString &imageFilePath);

protected:
    MWidgetStyleContainer *createStyleContainer() const override;
    const char *styleType() const override;

private Q_SLOTS:
    void updateLayoutOrientation(M::Orientation newOrientation);
    void openSelectionPopUp();
    void handleSelection();
    void handleEmoticonThemeChanged();

private:
    const EmoticonSelectorWidgetViewStyleContainer &style() const;

    const std::unique_ptr<EmoticonSelectorWidgetViewPrivate> d;
};

#endif
