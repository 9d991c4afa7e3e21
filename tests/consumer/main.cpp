// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Every installed header: the installed set must compile from the prefix alone.
#include <accountservicemapper.h>
#include <defaultemoticonthemehandler.h>
#include <emosequencesearchtree.h>
#include <emoticonparsingitem.h>
#include <emoticonselectorwidget.h>
#include <emoticonselectorwidgetmodel.h>
#include <emoticonselectorwidgetview.h>
#include <emoticonselectorwidgetviewstyle.h>
#include <emoticonselectorwidgetviewstylecontainer.h>
#include <emoticontheme.h>
#include <emoticonthemediagnosis.h>
#include <emoticonthemedirectorywatcher.h>
#include <emoticonthemefactory.h>
#include <emoticonthemeinspector.h>
#include <emoticonthememanager.h>
#include <emoticonthemeresourceavailabilitychecker.h>
#include <emoticonthemevalidationchecker.h>
#include <glyphmorph_version.h>
#include <glyphmorpher.h>
#include <libglyphmorphcssloader.h>
#include <mabstractlayoutpolicy.h>
#include <mapplication.h>
#include <mbutton.h>
#include <mdialog.h>
#include <mgconfitem.h>
#include <mgridlayoutpolicy.h>
#include <mlayout.h>
#include <mlibrary.h>
#include <mnamespace.h>
#include <mscenemanager.h>
#include <mstylecreator.h>
#include <mtextedit.h>
#include <mtheme.h>
#include <mviewcreator.h>
#include <mwidget.h>
#include <mwidgetcontroller.h>
#include <mwidgetcreator.h>
#include <mwidgetmodel.h>
#include <mwidgetstyle.h>
#include <mwidgetstylecontainer.h>
#include <mwidgetview.h>
#include <mwindow.h>
#include <singletonbase.h>
#include <themetablemodel.h>

#include <QHash>
#include <QString>

#include <cstdio>

int main()
{
    EmoticonTheme theme;
    theme.setCharacterCodeSequenceSearchTree(
        new emoSequenceSearchTree({ { QStringLiteral(":)"), QStringLiteral("/smile.png") } }));
    const QString html = theme.characterCodeSequenceSearchTree()->performPlainText2HTMLReplacement(
        QStringLiteral("hi :)"), 0, QStringLiteral("<br>"));
    std::printf("%s %s\n", GLYPHMORPH_VERSION_STRING, qPrintable(html));
    const EmoticonThemeDiagnosis diagnosis
        = EmoticonThemeFactory::diagnoseTheme(QStringLiteral("/nonexistent"));
    return html == QStringLiteral("hi <img src='/smile.png'  width='20' height='20'>")
            && diagnosis.refusal() == EmoticonThemeDiagnosis::NoThemeFile
        ? 0
        : 1;
}
