// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "accountservicemapper.h"
#include "testenvironment.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

namespace {

const QString accountPrefix = QStringLiteral("/org/freedesktop/Telepathy/Account/");

void replaceAccounts(const QByteArray &content)
{
    const QString path = AccountServiceMapper::accountsFilePath();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QSaveFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    QVERIFY(file.commit());
}

// In place, as an editor that keeps the file would; the modification time may then not move.
void overwriteAccounts(const QByteArray &content, const QDateTime &modified = QDateTime())
{
    QFile file(AccountServiceMapper::accountsFilePath());
    QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
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
    void accountsFileIsInTheConfigHome();
    void mapping_data();
    void mapping();
    void rereadsAfterChange();
    void rereadsOldFileRewrittenWithSameTimeAndSize();
    void deletingTheInstanceClearsThePointer();
};

void AccountServiceMapperTest::accountsFileIsInTheConfigHome()
{
    QCOMPARE(AccountServiceMapper::accountsFilePath(),
        QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/glyphmorph/accounts.conf");
}

void AccountServiceMapperTest::mapping_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("service");

    replaceAccounts("# Messaging accounts\n"
                    "\n"
                    "/org/freedesktop/Telepathy/Account/gabble/jabber/alice0=google-talk\n"
                    "   /org/freedesktop/Telepathy/Account/gabble/jabber/bob0 \t=  jabber  \n"
                    "/org/freedesktop/Telepathy/Account/haze/skype/carol0=skype=legacy\n"
                    "/org/freedesktop/Telepathy/Account/ovi/chat/dave0=ovi-chat # at work\n"
                    "# /org/freedesktop/Telepathy/Account/gabble/jabber/erin0=hidden\n"
                    "a line without separator\n"
                    "=orphan-service\n"
                    "/org/freedesktop/Telepathy/Account/gabble/jabber/frank0=\n"
                    "/org/freedesktop/Telepathy/Account/gabble/jabber/twice0=first\n"
                    "/org/freedesktop/Telepathy/Account/gabble/jabber/twice0=second\n"
                    "/org/freedesktop/Telepathy/Account/haze/msn/win0=msn\r\n"
                    "/org/freedesktop/Telepathy/Account/gabble/jabber/last0=no-newline");

    QTest::newRow("plain") << "gabble/jabber/alice0"
                           << "google-talk";
    QTest::newRow("spaces around the parts") << "gabble/jabber/bob0"
                                             << "jabber";
    QTest::newRow("'=' in the service") << "haze/skype/carol0"
                                        << "skype=legacy";
    QTest::newRow("comment after the service") << "ovi/chat/dave0"
                                               << "ovi-chat";
    QTest::newRow("commented out") << "gabble/jabber/erin0" << QString();
    QTest::newRow("empty service") << "gabble/jabber/frank0" << QString();
    QTest::newRow("last row wins") << "gabble/jabber/twice0"
                                   << "second";
    QTest::newRow("CRLF line end") << "haze/msn/win0"
                                   << "msn";
    QTest::newRow("no final newline") << "gabble/jabber/last0"
                                      << "no-newline";
    QTest::newRow("unknown") << "gabble/jabber/nobody0" << QString();
}

void AccountServiceMapperTest::mapping()
{
    QFETCH(QString, account);
    QFETCH(QString, service);

    AccountServiceMapper mapper;
    const QString mapped = mapper.ssoServiceIDForTpAccount(accountPrefix + account);
    QCOMPARE(mapped, service);
    QCOMPARE(mapped.isNull(), service.isNull());
    QVERIFY(mapper.ssoServiceIDForTpAccount(QString()).isNull());
}

void AccountServiceMapperTest::rereadsAfterChange()
{
    const QString account = accountPrefix + "gabble/jabber/alice0";
    QFile::remove(AccountServiceMapper::accountsFilePath());
    AccountServiceMapper mapper;
    QVERIFY(mapper.ssoServiceIDForTpAccount(account).isNull());

    replaceAccounts(account.toUtf8() + "=one\n");
    QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("one"));

    overwriteAccounts(account.toUtf8() + "=two\n");
    QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("two"));

    replaceAccounts(account.toUtf8() + "=six\n");
    QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("six"));

    QVERIFY(QFile::remove(AccountServiceMapper::accountsFilePath()));
    QVERIFY(mapper.ssoServiceIDForTpAccount(account).isNull());
}

void AccountServiceMapperTest::rereadsOldFileRewrittenWithSameTimeAndSize()
{
    const QString account = accountPrefix + "gabble/jabber/alice0";
    const QDateTime lastWeek = QDateTime::currentDateTimeUtc().addDays(-7);
    replaceAccounts(QByteArray());
    overwriteAccounts(account.toUtf8() + "=one\n", lastWeek);
    AccountServiceMapper mapper;
    QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("one"));

    overwriteAccounts(account.toUtf8() + "=two\n", lastWeek);
    QCOMPARE(QFileInfo(AccountServiceMapper::accountsFilePath()).lastModified(), lastWeek);
    QCOMPARE(mapper.ssoServiceIDForTpAccount(account), QStringLiteral("two"));
}

void AccountServiceMapperTest::deletingTheInstanceClearsThePointer()
{
    QVERIFY(!AccountServiceMapper::m_pInstance);
    AccountServiceMapper::m_pInstance = new AccountServiceMapper;
    delete AccountServiceMapper::m_pInstance;
    QVERIFY(!AccountServiceMapper::m_pInstance);
}

GLYPHMORPH_TEST_GUILESS_MAIN(AccountServiceMapperTest)
#include "accountservicemappertest.moc"
