// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "accountservicemapper.h"

#include "boundedfile_p.h"
#include "settingsfile_p.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

// Exported through the declaration in the header, which GCC only honours before first use.
template class SingletonBase<AccountServiceMapper>;

class AccountServiceMapperPrivate
{
public:
    AccountServiceMapperPrivate() = default;
    AccountServiceMapperPrivate(const AccountServiceMapperPrivate &) = delete;
    AccountServiceMapperPrivate &operator=(const AccountServiceMapperPrivate &) = delete;

    void refresh();
    void read(const QString &path);

    QHash<QString, QString> services;
    bool loaded = false;
    QString path;
    bool existed = false;
    qint64 size = -1;
    QDateTime modified;
    QDateTime changed;
    QDateTime readAt;
};

void AccountServiceMapperPrivate::refresh()
{
    const QString current = AccountServiceMapper::accountsFilePath();
    const QFileInfo info(current);
    const bool exists = info.exists();
    // Content written again within the timestamp granularity of the last read can keep every time
    // and the size, so a file changed that shortly before is read again on each lookup until it
    // ages. The change time is the one to judge by: writers can set the modification time back.
    const bool recent = exists && readAt.isValid() && info.metadataChangeTime().secsTo(readAt) < 2;
    if (loaded && !recent && current == path && exists == existed && info.size() == size
        && info.lastModified() == modified && info.metadataChangeTime() == changed)
        return;
    path = current;
    existed = exists;
    size = exists ? info.size() : -1;
    modified = info.lastModified();
    changed = info.metadataChangeTime();
    readAt = QDateTime::currentDateTimeUtc();
    loaded = true;
    read(current);
}

void AccountServiceMapperPrivate::read(const QString &path)
{
    services.clear();
    QByteArray bytes;
    if (!BoundedFile::read(path, SettingsFile::maxSize, &bytes))
        return;
    const QString text = QString::fromUtf8(bytes).remove(QLatin1Char('\r'));
    for (QString line : text.split(QLatin1Char('\n'))) {
        const int comment = line.indexOf(QLatin1Char('#'));
        if (comment >= 0)
            line.truncate(comment);
        // Account paths never contain '=', service ids may: the first one separates them.
        const int separator = line.indexOf(QLatin1Char('='));
        if (separator < 0)
            continue;
        const QString account = line.left(separator).trimmed();
        const QString service = line.mid(separator + 1).trimmed();
        if (account.isEmpty() || service.isEmpty())
            continue;
        services.insert(account, service);
    }
}

AccountServiceMapper::AccountServiceMapper(QObject *parent)
    : QObject(parent)
    , d(new AccountServiceMapperPrivate)
{ }

AccountServiceMapper::~AccountServiceMapper() = default;

QString AccountServiceMapper::ssoServiceIDForTpAccount(const QString &accountPath)
{
    d->refresh();
    return d->services.value(accountPath.trimmed());
}

QString AccountServiceMapper::accountsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/glyphmorph/accounts.conf");
}
