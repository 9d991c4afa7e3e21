// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonselectorwidget.h"

#include "emoticonselectorwidgetmodel.h"
#include "emoticonthememanager.h"
#include "libglyphmorphcssloader.h"
#include "sharedinstance_p.h"

class EmoticonSelectorWidgetPrivate
{
public:
    void take(const EmoticonTheme &theme);

    QHash<QString, QString> emoticonSet;
    QHash<QString, QString> emoticonPrioritySet;
    QString serviceName;
    EmoticonTheme emoticonTheme;
};

void EmoticonSelectorWidgetPrivate::take(const EmoticonTheme &theme)
{
    emoticonSet = theme.filePathToCodeSequenceMapping();
    emoticonPrioritySet = theme.codeSequenceToPriorityMapping();
    emoticonTheme = theme;
}

EmoticonSelectorWidget::EmoticonSelectorWidget(QGraphicsItem *parent)
    : MWidgetController(new EmoticonSelectorWidgetModel(), parent)
    , d(new EmoticonSelectorWidgetPrivate)
{
    sharedInstance<LibGlyphmorphCSSLoader>();
}

EmoticonSelectorWidget::~EmoticonSelectorWidget() = default;

const QHash<QString, QString> &EmoticonSelectorWidget::emoticonSet() const
{
    return d->emoticonSet;
}

const QHash<QString, QString> &EmoticonSelectorWidget::emoticonPrioritySet() const
{
    return d->emoticonPrioritySet;
}

EmoticonTheme EmoticonSelectorWidget::emoticonTheme() const
{
    return d->emoticonTheme;
}

void EmoticonSelectorWidget::appear()
{
    // The platform makes a controller's view lazily; the view must exist to hear the signal,
    // also when appear() follows the construction at once.
    view();
    Q_EMIT appearPopup();
}

void EmoticonSelectorWidget::setServiceName(const QString &serviceName)
{
    d->serviceName = serviceName;
    EmoticonThemeManager *manager = sharedInstance<EmoticonThemeManager>();
    const EmoticonTheme theme = manager->themeForAccountPath(serviceName);
    if (theme.isValid())
        d->take(theme);
    connect(manager, SIGNAL(currentThemeChanged(QString)), this, SLOT(handleThemeChanged()),
        Qt::UniqueConnection);
    connect(manager, SIGNAL(themeAdded(QString, QString)), this, SLOT(handleThemeChanged()),
        Qt::UniqueConnection);
    connect(manager, SIGNAL(themeRemoved(QString)), this, SLOT(handleThemeChanged()),
        Qt::UniqueConnection);
    // The three above miss changes of the theme text uses: the current theme arriving after its
    // check, or falling back when removed, or a theme replaced under the same UUID.
    connect(manager, SIGNAL(availableThemesChanged()), this, SLOT(handleThemeChanged()),
        Qt::UniqueConnection);
}

void EmoticonSelectorWidget::handleThemeChanged()
{
    const EmoticonTheme theme
        = sharedInstance<EmoticonThemeManager>()->themeForAccountPath(d->serviceName);
    // Each theme built owns its own search tree: the same tree is the same theme. A reinstalled
    // theme or a re-rendered built-in theme keeps its UUID but not its tree.
    if (!theme.isValid()
        || theme.characterCodeSequenceSearchTree()
            == d->emoticonTheme.characterCodeSequenceSearchTree())
        return;
    d->take(theme);
    Q_EMIT emoticonThemeChanged();
}
