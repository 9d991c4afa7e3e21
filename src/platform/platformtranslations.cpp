// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <QCoreApplication>
#include <QString>
#include <QTranslator>

// Q_INIT_RESOURCE declares the resource's initialiser, which lives in the global namespace.
static void initCatalogueResource()
{
    Q_INIT_RESOURCE(glyphmorph_translations);
}

static void installCatalogue()
{
    initCatalogueResource();
    // Owned by the application, so every application object gets its own and frees it.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/glyphmorph/translations/glyphmorph_eng_en.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

// Runs in every QCoreApplication constructor, or at once when the library is loaded into a
// running application, so qtTrId() reads the catalogue without the caller doing anything.
// Translators installed later by the application take precedence over this one.
Q_COREAPP_STARTUP_FUNCTION(installCatalogue)
