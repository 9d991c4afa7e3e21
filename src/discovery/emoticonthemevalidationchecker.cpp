// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthemevalidationchecker.h"

#include "emoticonthemeresourceavailabilitychecker.h"

#include <QHash>
#include <QList>

class EmoticonThemeValidationCheckerPrivate
{
public:
    QList<EmoticonThemeResourceAvailabilityChecker *> pendingCheckers;
    QHash<EmoticonThemeResourceAvailabilityChecker *, QString> directories;
};

EmoticonThemeValidationChecker::EmoticonThemeValidationChecker(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<EmoticonThemeValidationCheckerPrivate>())
{ }

// Pending checkers are children and die with this object, without a signal.
EmoticonThemeValidationChecker::~EmoticonThemeValidationChecker() = default;

void EmoticonThemeValidationChecker::requestValidationCheck(const QString &directoryPath)
{
    auto *checker = new EmoticonThemeResourceAvailabilityChecker(directoryPath, this);
    d->pendingCheckers.append(checker);
    d->directories.insert(checker, directoryPath);
    connect(checker,
        SIGNAL(
            resourcesAvailable(QString, EmoticonTheme, EmoticonThemeResourceAvailabilityChecker *)),
        this,
        SLOT(handleResourceAvailable(
            QString, EmoticonTheme, EmoticonThemeResourceAvailabilityChecker *)),
        Qt::DirectConnection);
    connect(checker,
        SIGNAL(resourcesUnavailable(QString, EmoticonThemeResourceAvailabilityChecker *)), this,
        SLOT(handleResourceUnavailable(QString, EmoticonThemeResourceAvailabilityChecker *)),
        Qt::DirectConnection);
    checker->start();
}

void EmoticonThemeValidationChecker::cancelValidationCheck(const QString &directoryPath)
{
    // A check that lived on would judge the next theme put under that name with what it read
    // of the old one.
    const QList<EmoticonThemeResourceAvailabilityChecker *> pending = d->pendingCheckers;
    for (EmoticonThemeResourceAvailabilityChecker *checker : pending) {
        if (d->directories.value(checker) != directoryPath)
            continue;
        d->pendingCheckers.removeOne(checker);
        d->directories.remove(checker);
        checker->disconnect(this);
        checker->deleteLater();
    }
}

int EmoticonThemeValidationChecker::pendingCheckCount() const
{
    return d->pendingCheckers.size();
}

// The checker is inside its own signal here: it may only be released later.
void EmoticonThemeValidationChecker::handleResourceAvailable(
    const QString &emoticonThemeXmlFilePath, const EmoticonTheme &theme,
    EmoticonThemeResourceAvailabilityChecker *sender)
{
    d->pendingCheckers.removeOne(sender);
    d->directories.remove(sender);
    sender->deleteLater();
    Q_EMIT emoticonThemeIsValid(emoticonThemeXmlFilePath, theme);
}

void EmoticonThemeValidationChecker::handleResourceUnavailable(
    const QString &emoticonThemeXmlFilePath, EmoticonThemeResourceAvailabilityChecker *sender)
{
    d->pendingCheckers.removeOne(sender);
    d->directories.remove(sender);
    sender->deleteLater();
    Q_EMIT emoticonThemeIsInvalid(emoticonThemeXmlFilePath);
}
