// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// What others can put where the library reads: theme files nested without end, FIFOs, devices and
// directories named as images, and text whose HTML no string can hold.
#include "testenvironment.h"
#include "themedirectory.h"

#include <accountservicemapper.h>
#include <boundedfile_p.h>
#include <emosequencesearchtree.h>
#include <emoticonthemefactory.h>
#include <emoticonthemeresourceavailabilitychecker.h>
#include <glyphmorpher.h>
#include <mgconfitem.h>
#include <mnamespace.h>
#include <mtextedit.h>
#include <mtheme.h>
#include <plaintextscan_p.h>

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextCodec>
#include <QTextDocument>

#include <sys/stat.h>

namespace {

// Puts the thing the row names at @p path; the PNG a link may point to lives beside it. A library
// that opens a FIFO to read waits for a writer for ever: the test's timeout catches it.
bool make(const QByteArray &kind, const QString &path)
{
    if (kind == "FIFO")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == "link to a device")
        return QFile::link("/dev/zero", path);
    if (kind == "directory")
        return QDir().mkpath(path);
    if (kind == "dangling link")
        return QFile::link(path + ".gone", path);
    if (kind == "link to an image")
        return GlyphmorphTest::writeImage(path + ".real") && QFile::link(path + ".real", path);
    return GlyphmorphTest::writeImage(path);
}

// A valid theme with @p inside placed in its first emoticon, at depth 2 already.
QByteArray themeWith(const QByteArray &inside)
{
    QByteArray xml = GlyphmorphTest::themeXml({ "u", {}, { "a" } });
    xml.replace("<positionindex>", inside + "<positionindex>");
    return xml;
}

} // namespace

class HostileInputTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString themeFile(const QByteArray &content)
    {
        static int count = 0;
        const QString name = QStringLiteral("T%1").arg(++count);
        const QString directory = QDir(m_dir.path()).filePath(name);
        QDir().mkpath(directory);
        GlyphmorphTest::writeImage(QDir(directory).filePath("a.png"));
        const QString path = QDir(directory).filePath(name + ".xml");
        return GlyphmorphTest::writeBytes(path, content) ? path : QString();
    }

private Q_SLOTS:
    // First, before anything reads the settings: the store is read once per process.
    void settingsFilesAreFifos()
    {
        const QString directory = QFileInfo(AccountServiceMapper::accountsFilePath()).path();
        QVERIFY(QDir().mkpath(directory));
        const QString settings = QDir(directory).filePath("settings.conf");
        const QString accounts = AccountServiceMapper::accountsFilePath();
        for (const QString &path : { settings, accounts })
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);

        MGConfItem item("/Messaging/Settings/CurrentCustomEmoticonTheme");
        QVERIFY(!item.value().isValid());
        item.set("x");
        AccountServiceMapper mapper;
        QVERIFY(mapper.ssoServiceIDForTpAccount("/a").isNull());
        // What could not be read is not replaced.
        QVERIFY(!QFileInfo(settings).isFile());
        QFile::remove(settings);
        QFile::remove(accounts);
    }

    // The depth limit, in either encoding, with markup-like text that opens no element at random
    // around the nesting and a document type that declares elements: depth alone decides.
    void themeFileNesting()
    {
        QRandomGenerator random(7);
        const int limit = EmoticonThemeFactory::maxThemeFileDepth;
        const QByteArray decorations[]
            = { "<!-- > < -->", "<![CDATA[<x>]]>", "<?p >?>", "<e q='>'/>", "t&gt;", "<e/>" };
        QTextCodec *utf16 = QTextCodec::codecForName("UTF-16LE");
        for (int round = 0; round < 64; ++round) {
            const int depth = limit - 4 + round % 8;
            QByteArray inside;
            for (int level = 0; level < depth - 2; ++level)
                inside += "<n>" + decorations[random.bounded(6)];
            for (int level = 0; level < depth - 2; ++level)
                inside += decorations[random.bounded(6)] + "</n>";
            QByteArray xml = themeWith(inside);
            if (round / 8 % 2)
                xml.replace("<emoticon_theme",
                    "<!DOCTYPE emoticon_theme [ <!ELEMENT n ANY> ]>\n<emoticon_theme");
            if (round / 16 % 2)
                xml = utf16->fromUnicode(QString::fromUtf8(xml.replace("UTF-8", "UTF-16")));
            const QString path = themeFile(xml);
            QCOMPARE(EmoticonThemeFactory::emoticonThemeFromXML(path).isValid(), depth <= limit);
        }
    }

    void untrustedFile_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::newRow("FIFO") << false;
        QTest::newRow("link to a device") << false;
        QTest::newRow("directory") << false;
        QTest::newRow("dangling link") << false;
        QTest::newRow("link to an image") << true;
        QTest::newRow("image") << true;
    }
    // Every place that reads a theme's files: the description, the images, the preview, the
    // completeness check, the editor.
    void untrustedFile()
    {
        QFETCH(bool, readable);
        const QString directory
            = QDir(m_dir.path())
                  .filePath(QString::fromLatin1(QTest::currentDataTag()).remove(QLatin1Char(' ')));
        QVERIFY(QDir().mkpath(directory));
        const QString description
            = GlyphmorphTest::writeTheme(directory, "T", { "u", {}, { "img" } }, false);
        const QString image = QDir(description).filePath("img.png");
        QVERIFY(make(QTest::currentDataTag(), image));

        QCOMPARE(BoundedFile::isRegularFile(image), readable);
        QCOMPARE(!BoundedFile::readImage(image).isNull(), readable);
        // Without suffix, as the built-in theme names its images.
        QCOMPARE(!BoundedFile::readImage(QDir(description).filePath("img")).isNull(), readable);
        QCOMPARE(EmoticonThemeFactory::emoticonThemeFromXML(image).isValid(), false);

        EmoticonTheme theme;
        theme.setThemeUUID("untrusted");
        theme.setPreviewIconName(image);
        const QString preview = QDir(m_dir.path()).filePath("preview.png");
        QFile::remove(preview);
        QCOMPARE(EmoticonThemeFactory::generatePreviewPixmap(preview, theme), readable);

        EmoticonThemeResourceAvailabilityChecker checker(description);
        QSignalSpy available(&checker,
            SIGNAL(resourcesAvailable(
                QString, EmoticonTheme, EmoticonThemeResourceAvailabilityChecker *)));
        checker.start();
        QCOMPARE(available.count(), readable ? 1 : 0);

        MTextEdit edit;
        const EmoticonTheme found
            = EmoticonThemeFactory::emoticonThemeFromXML(QDir(description).filePath("T.xml"));
        QVERIFY(found.characterCodeSequenceSearchTree());
        edit.setText(":img: ");
        edit.setProperty("positionOfChange", 0);
        edit.setProperty("charactersPasted", 6);
        found.characterCodeSequenceSearchTree()->performCharacterCode2EmoticonReplacement(&edit, 0);
        Glyphmorpher().addEmoticonToTextEdit(&edit, ":img:", image);
        // The layout asks for every image's size: it must find the library's, not read the file.
        QCOMPARE(edit.document()->size().isValid(), true);
    }

    // A registered directory is searched below itself only: a link to "/" must not make the
    // lookup walk the whole file system.
    void pixmapDirectoryLinkOutside()
    {
        const QString outside = QDir(m_dir.path()).filePath("outside");
        const QString theme = QDir(m_dir.path()).filePath("linked");
        QVERIFY(QDir().mkpath(outside + "/deeper") && QDir().mkpath(theme));
        QVERIFY(GlyphmorphTest::writeImage(outside + "/deeper/far.png"));
        QVERIFY(GlyphmorphTest::writeImage(theme + "/near.png"));
        QVERIFY(QFile::link(outside, theme + "/out"));
        QVERIFY(QFile::link("/", theme + "/root"));
        MTheme::addPixmapDirectory(theme, M::Recursive);
        const std::unique_ptr<QPixmap> near(MTheme::pixmapCopy("near", {}));
        const std::unique_ptr<QPixmap> far(MTheme::pixmapCopy("far", {}));
        QVERIFY(near && !near->isNull());
        QVERIFY(!far);
    }

    // Images up to the widest side are read, one pixel more is not.
    void oversizedImage()
    {
        const QString path = QDir(m_dir.path()).filePath("large.png");
        for (const int extra : { 0, 1 }) {
            QImage image(BoundedFile::maxImageSide + extra, 1, QImage::Format_Mono);
            image.fill(0);
            QVERIFY(image.save(path, "PNG"));
            QCOMPARE(BoundedFile::readImage(path).isNull(), extra > 0);
        }
    }

    // HTML past the longest string: the text as it stands, never an abort.
    void htmlPastTheLongestString()
    {
        const int saved = PlainTextScan::maxLength;
        PlainTextScan::maxLength = 4000;
        const QString path = "/" + QString("p").repeated(80);
        emoSequenceSearchTree tree({ { ":)", path } });
        const int tag = tree.performPlainText2HTMLReplacement(":)", 0, {}).size();
        // Codes and the spaces between them: exactly as long as the limit allows.
        const int codes = 4001 / (tag + 1);
        QString fits = QStringLiteral(":) ").repeated(codes);
        fits.chop(1);
        QCOMPARE(tree.performPlainText2HTMLReplacement(fits, 0, {}).size(), codes * (tag + 1) - 1);
        const QString tooLong = fits + " :)";
        QCOMPARE(tree.performPlainText2HTMLReplacement(tooLong, 0, {}), tooLong);
        // Line breaks alone can pass the limit too.
        const QString lines(2000, QLatin1Char('\n'));
        QCOMPARE(tree.performPlainText2HTMLReplacement(lines, 0, QStringLiteral("<br>")), lines);
        PlainTextScan::maxLength = saved;
    }
};

GLYPHMORPH_TEST_MAIN(HostileInputTest)
#include "hostileinputtest.moc"
