// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "accountservicemapper.h"
#include "testenvironment.h"

#include <QDateTime>
#include <QFile>

namespace {

const QString account = QStringLiteral("/org/freedesktop/Telepathy/Account/gabble/jabber/alice0");

// In place, as an editor that keeps the file would; a given modification time is set back after.
void writeAccounts(const QByteArray &content, const QDateTime &modified = QDateTime())
{
    QVERIFY(QDir().mkpath(QFileInfo(AccountServiceMapper::accountsFilePath()).path()));
    QFile file(AccountServiceMapper::accountsFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
    QVERIFY(file.flush());
    if (modified.isValid())
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace

class AccountServiceMapperTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapping_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("service");
        // '@' stands for the account looked up.
        const struct
        {
            const char *name, *content, *service;
        } rows[] = { { "spaces, comments", "# accounts\n\n  @ \t=  jabber  # at work\n", "jabber" },
            { "'=' in the service, no final newline", "@=skype=legacy", "skype=legacy" },
            { "last row wins, CRLF line ends", "@=first\r\n@=msn\r\n/other=x\r\n", "msn" },
            { "commented out, empty or malformed", "# @=hidden\n@=\nno separator\n=orphan\n",
                nullptr } };
        for (const auto &row : rows) {
            QTest::newRow(row.name) << QByteArray(row.content).replace('@', account.toUtf8())
                                    << (row.service ? QString(row.service) : QString());
        }
    }

    void mapping()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, service);
        writeAccounts(content);
        const QString mapped = AccountServiceMapper().ssoServiceIDForTpAccount(account);
        QCOMPARE(mapped, service);
        QCOMPARE(mapped.isNull(), service.isNull());
        QVERIFY(AccountServiceMapper().ssoServiceIDForTpAccount(QString()).isNull());
    }

    void rereadsAfterChange()
    {
        QFile::remove(AccountServiceMapper::accountsFilePath());
        AccountServiceMapper mapper;
        QVERIFY(mapper.ssoServiceIDForTpAccount(account).isNull());

        const QDateTime lastWeek = QDateTime::currentDateTimeUtc().addDays(-7);
        writeAccounts(account.toUtf8() + "=one\n", lastWeek);
        QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("one"));
        // Same size and modification time as the content read before: only the content differs.
        writeAccounts(account.toUtf8() + "=two\n", lastWeek);
        QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("two"));

        QVERIFY(QFile::remove(AccountServiceMapper::accountsFilePath()));
        QVERIFY(mapper.ssoServiceIDForTpAccount(account).isNull());
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(AccountServiceMapperTest)
#include "accountservicemappertest.moc"
