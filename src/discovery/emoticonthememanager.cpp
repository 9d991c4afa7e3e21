// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticonthememanager.h"

#include "accountservicemapper.h"
#include "emojitheme_p.h"
#include "emoticonthemeinspector.h"
#include "emoticonthemeresourceavailabilitychecker_p.h"
#include "mgconfitem.h"
#include "sharedinstance_p.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <time.h>
#endif

template class SingletonBase<EmoticonThemeManager>;

namespace {
const char currentThemeKey[] = "/Messaging/Settings/CurrentCustomEmoticonTheme";
const char installedThemesRoot[] = "/usr/share/themes/base/meegotouch/libglyphmorph0/images/";
const char defaultUUID[] = "343a7f65-0095-4eae-8fc2-87af7f3bf5158";
} // namespace

class EmoticonThemeManagerPrivate
{
public:
    QHash<QString, EmoticonTheme> themes;
    QHash<QString, EmoticonTheme> serviceThemes;
    QHash<QString, QString> accountServices;
    MGConfItem *currentThemeItem = nullptr;
    QString recordedCurrentTheme;
    EmoticonThemeInspector *inspector = nullptr;
    // Runs while a removed current theme may come back (a reinstall or an update): the user's
    // choice is kept until it ends.
    QTimer *removalGrace = nullptr;

    // The latest answer of themeForAccountPath: a conversation's messages are converted one after
    // another, and reading the settings and accounts files for each would cost far more than
    // the conversion. It stands until the manager changes anything it depends on, and for at most
    // answerLifetimeMs, within which changes made by other processes are seen.
    struct Answer
    {
        QString accountPath;
        EmoticonTheme theme;
        /** The theme's tree, read once rather than per message. */
        emoSequenceSearchTree *tree = nullptr;
        quint64 generation = 0;
        qint64 givenAtMs = 0;
    };
    static constexpr qint64 answerLifetimeMs = 20;
    Answer answer;
    quint64 generation = 1;

    // The monotonic clock at the scheduler's tick: an answer's age need not be exact, and this
    // clock costs a message a few nanoseconds where the precise one costs dozens.
    static qint64 coarseNowMs()
    {
#if defined(Q_OS_LINUX) && defined(CLOCK_MONOTONIC_COARSE)
        timespec now;
        if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) == 0)
            return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
#endif
        return QDeadlineTimer::current(Qt::CoarseTimer).deadline();
    }

    // The answer of searchTreeForAccountPath when it is not the remembered one.
    EmoticonTheme lastGiven;

    void forgetAnswer()
    {
        ++generation;
        // A removed theme must not live on here.
        answer.theme = EmoticonTheme();
        answer.tree = nullptr;
        lastGiven = EmoticonTheme();
    }

    bool answers(const QString &accountPath) const
    {
        // Callers mostly pass the same shared string again: that it is shared is enough.
        if (answer.generation != generation
            || !(answer.accountPath.isSharedWith(accountPath) || answer.accountPath == accountPath))
            return false;
        const qint64 age = coarseNowMs() - answer.givenAtMs;
        return age >= 0 && age < answerLifetimeMs;
    }

    static emoSequenceSearchTree *treeOf(const EmoticonTheme &theme)
    {
        return theme.characterCodeSequenceSearchTree();
    }

    /** An unregistered choice may still arrive: a directory is being checked, or the chosen
     *  theme was removed a moment ago and may be reinstalled. */
    bool choiceMayArrive() const
    {
        return inspector->hasPendingChecks() || removalGrace->isActive();
    }

    /** Whether the user's choice @p current stays while it is not registered. The Emoji theme
     *  is missing only where this process cannot draw it (no colour font, no GUI): the user's
     *  other processes may well show it. */
    bool keepsChoice(const QString &current) const
    {
        return current == EmojiTheme::uuid() || choiceMayArrive();
    }
};

EmoticonThemeManager::EmoticonThemeManager()
    : QObject(nullptr)
    , d(std::make_unique<EmoticonThemeManagerPrivate>())
{
    d->currentThemeItem = new MGConfItem(QLatin1String(currentThemeKey), this);
    d->removalGrace = new QTimer(this);
    d->removalGrace->setSingleShot(true);
    d->removalGrace->setTimerType(Qt::PreciseTimer);
    connect(d->removalGrace, SIGNAL(timeout()), this, SLOT(handleRemovalGraceOver()));
    connect(d->currentThemeItem, SIGNAL(valueChanged()), this, SLOT(slotCurrentThemeChanged()));
    d->inspector = new EmoticonThemeInspector(this);
    connect(d->inspector, SIGNAL(themeAdded(EmoticonTheme)), this,
        SLOT(handleThemeAdded(EmoticonTheme)));
    connect(d->inspector, SIGNAL(themeRemoved(QString)), this, SLOT(handleThemeRemoved(QString)));
    d->inspector->init(themesRootPath());
}

EmoticonThemeManager::~EmoticonThemeManager()
{
    // The pipeline goes first, while the tables it reports into still exist; it emits nothing.
    delete d->inspector;
    d->inspector = nullptr;
}

QHash<QString, EmoticonTheme> EmoticonThemeManager::emoticonThemes() const
{
    return d->themes;
}

QString EmoticonThemeManager::currentTheme() const
{
    const QString value = d->currentThemeItem->value().toString();
    return value.isEmpty() ? defaultThemeUUID() : value;
}

void EmoticonThemeManager::setCurrentTheme(const QString &themeUUID)
{
    d->forgetAnswer();
    // Not recorded here: the settings notification then tells this process's listeners too.
    d->currentThemeItem->set(QVariant(themeUUID));
}

EmoticonTheme EmoticonThemeManager::themeForAccountPath(const QString &accountPath)
{
    EmoticonThemeManagerPrivate::Answer &answer = d->answer;
    if (d->answers(accountPath))
        return answer.theme;
    const auto remember = [&answer, &accountPath, this](const EmoticonTheme &theme) {
        answer.accountPath = accountPath;
        answer.theme = theme;
        answer.tree = EmoticonThemeManagerPrivate::treeOf(theme);
        answer.generation = d->generation;
        answer.givenAtMs = EmoticonThemeManagerPrivate::coarseNowMs();
        return theme;
    };

    QString serviceId = QLatin1String("");
    const auto cached = d->accountServices.constFind(accountPath);
    if (cached != d->accountServices.cend()) {
        serviceId = cached.value();
    } else {
        serviceId = sharedInstance<AccountServiceMapper>()->ssoServiceIDForTpAccount(accountPath);
        if (accountPath == QLatin1String("Service1"))
            serviceId = QStringLiteral("Service1");
        if (!serviceId.isNull())
            d->accountServices.insert(accountPath, serviceId);
    }

    const auto bound = d->serviceThemes.constFind(serviceId);
    if (bound != d->serviceThemes.cend() && bound.value().isValid())
        return remember(bound.value());

    const QString current = currentTheme();
    const auto registered = d->themes.constFind(current);
    if (registered != d->themes.cend())
        return remember(registered.value());
    if (current != defaultThemeUUID()) {
        const EmoticonTheme builtIn = d->themes.value(defaultThemeUUID());
        // Where this process cannot draw the Emoji theme, the built-in theme stands in for it
        // as long as the choice holds.
        if (current == EmojiTheme::uuid())
            return remember(builtIn);
        // Not remembered: whether the choice is set back depends on checks still running.
        // Right after start-up, or after a reinstall, the chosen theme may still be being
        // checked: answer with the built-in theme for now, and keep the user's choice until the
        // check is over.
        if (!d->keepsChoice(current))
            setCurrentTheme(defaultThemeUUID());
        return builtIn;
    }
    return EmoticonTheme();
}

emoSequenceSearchTree *EmoticonThemeManager::searchTreeForAccountPath(const QString &accountPath)
{
    if (d->answers(accountPath))
        return d->answer.tree;
    d->lastGiven = themeForAccountPath(accountPath);
    return EmoticonThemeManagerPrivate::treeOf(d->lastGiven);
}

QString EmoticonThemeManager::themesRootPath()
{
    const QByteArray configured = qgetenv("GLYPHMORPH_THEMES_ROOT");
    return configured.isEmpty() ? QLatin1String(installedThemesRoot)
                                : QFile::decodeName(configured);
}

QString EmoticonThemeManager::defaultThemeUUID()
{
    return QLatin1String(defaultUUID);
}

EmoticonTheme EmoticonThemeManager::themeForServiceUUID(const QString &serviceUUID) const
{
    return d->serviceThemes.value(serviceUUID);
}

void EmoticonThemeManager::slotCurrentThemeChanged()
{
    d->forgetAnswer();
    const QString current = currentTheme();
    if (current == d->recordedCurrentTheme)
        return;
    const QString previous = d->recordedCurrentTheme;
    d->recordedCurrentTheme = current;
    Q_EMIT currentThemeChanged(previous);
}

void EmoticonThemeManager::handleThemeAdded(const EmoticonTheme &emoticonTheme)
{
    d->forgetAnswer();
    const QString themeUUID = emoticonTheme.themeUUID();
    if (!themeUUID.isEmpty())
        d->themes.insert(themeUUID, emoticonTheme);
    const QString serviceUUID = emoticonTheme.serviceUUID();
    if (!serviceUUID.isEmpty()) {
        d->serviceThemes.insert(serviceUUID, emoticonTheme);
        d->accountServices.clear();
        Q_EMIT themeAdded(serviceUUID, themeUUID);
    }
    Q_EMIT availableThemesChanged();
}

void EmoticonThemeManager::handleRemovalGraceOver()
{
    const QString current = currentTheme();
    if (current != defaultThemeUUID() && !d->themes.contains(current) && !d->keepsChoice(current))
        setCurrentTheme(defaultThemeUUID());
}

void EmoticonThemeManager::handleThemeRemoved(const QString &themeUUID)
{
    d->forgetAnswer();
    const auto found = d->themes.find(themeUUID);
    if (found != d->themes.end()) {
        const EmoticonTheme theme = found.value();
        d->themes.erase(found);
        // Lookups fall back at once; the stored choice only if the theme does not come back.
        if (theme.themeUUID() == currentTheme())
            d->removalGrace->start(EmoticonThemeResourceAvailabilityCheckerPrivate::timeout());
        const QString serviceUUID = theme.serviceUUID();
        if (!serviceUUID.isEmpty()) {
            d->serviceThemes.remove(serviceUUID);
            d->accountServices.clear();
            Q_EMIT themeRemoved(themeUUID);
        }
    }
    Q_EMIT availableThemesChanged();
}
