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
    auto *translator = new QTranslator;
    if (!translator->load(QStringLiteral(":/glyphmorph/translations/glyphmorph_eng_en.qm"))) {
        delete translator;
        return;
    }
    // Owned by the application, so every application object gets its own and frees it. QML's
    // type loader loads a plugin, and this library with it, in a thread of its own: the
    // translator moves to the application's thread before it becomes the application's child.
    QCoreApplication *application = QCoreApplication::instance();
    translator->moveToThread(application->thread());
    translator->setParent(application);
    QCoreApplication::installTranslator(translator);
}

// Runs in every QCoreApplication constructor, or at once when the library is loaded into a
// running application, so qtTrId() reads the catalogue without the caller doing anything.
// Translators installed later by the application take precedence over this one.
Q_COREAPP_STARTUP_FUNCTION(installCatalogue)
