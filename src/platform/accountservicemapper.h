// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_ACCOUNTSERVICEMAPPER_H
#define GLYPHMORPH_ACCOUNTSERVICEMAPPER_H

#include "glyphmorph_export.h"
#include "singletonbase.h"

#include <QObject>
#include <QString>

#include <memory>

class AccountServiceMapper;
class AccountServiceMapperPrivate;

// Before the class: deriving from the base instantiates it, and the export attribute must be
// known by then.
extern template class GLYPHMORPH_EXPORT SingletonBase<AccountServiceMapper>;

/**
 * Maps messaging accounts to the messaging service they belong to.
 *
 * The mapping is the per-user accounts file "accounts.conf" beside the settings store
 * ($XDG_CONFIG_HOME/glyphmorph/): one "ACCOUNT_PATH=SERVICE_ID" per line, "#" starts a comment.
 * It is read again whenever it changes. Shared through SingletonBase like the library's objects.
 */
class GLYPHMORPH_EXPORT AccountServiceMapper : public QObject,
                                               public SingletonBase<AccountServiceMapper>
{
    Q_OBJECT

public:
    explicit AccountServiceMapper(QObject *parent = nullptr);
    ~AccountServiceMapper() override;

    /** The service id of @p accountPath, or a null string for an unknown account. */
    QString ssoServiceIDForTpAccount(const QString &accountPath);

    /** Where the mapping is read from. */
    static QString accountsFilePath();

private:
    const std::unique_ptr<AccountServiceMapperPrivate> d;
};

#endif
