// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include "emoticonimagefile_p.h"

#include <defaultemoticonthemehandler.h>
#include <emosequencesearchtree.h>
#include <emoticonthemefactory.h>
#include <mgconfitem.h>
#include <mtextedit.h>
#include <mtheme.h>

#include <QImage>
#include <QProcess>
#include <QTextDocument>
#include <QUrl>

#include <memory>

namespace {

const QString platformKey = "/meegotouch/theme/name";
const QString renderedKey = "/meegotouch/theme/CurrentMeegoTheme";

QDir cache()
{
    return *EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY();
}

QString previewPath()
{
    return EmoticonThemeFactory::DEFAULT_PREVIEW_PIXMAP_DIRECTORY()->absoluteFilePath(
        "preview_343a7f65-0095-4eae-8fc2-87af7f3bf5158.png");
}

// File name to content, for every "*.png" of the cache.
QMap<QString, QByteArray> cachedFiles()
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo &info : cache().entryInfoList({ "*.png" }, QDir::Files))
        files.insert(info.fileName(), GlyphmorphTest::readBytes(info.filePath()));
    return files;
}

// The handler's signals, in the order they came.
void record(DefaultEmoticonThemeHandler &handler, QStringList &events)
{
    QObject::connect(&handler, &DefaultEmoticonThemeHandler::defaultThemeAdded,
        [&events](EmoticonTheme t) { events << "added " + t.themeName(); });
    QObject::connect(&handler, &DefaultEmoticonThemeHandler::defaultThemeRemoved,
        [&events](EmoticonTheme t) { events << "removed " + t.themeName(); });
}

QString happyPath()
{
    return EmoticonThemeFactory::defaultEmoticonTheme().codeSequenceToFilepathMapping().value(":)");
}

// Types " :)" into @p edit as a messaging application reports it to the walk; gives the image the
// smiley shows, premultiplied as a pixmap holds it.
QImage typeSmiley(MTextEdit &edit)
{
    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::End);
    edit.setProperty("positionOfChange", cursor.position());
    edit.setProperty("charactersPasted", 3);
    cursor.insertText(" :)");
    emoSequenceSearchTree(
        EmoticonThemeFactory::defaultEmoticonTheme().codeSequenceToFilepathMapping())
        .performCharacterCode2EmoticonReplacement(&edit, false);
    return edit.document()
        ->resource(QTextDocument::ImageResource, QUrl(happyPath()))
        .value<QPixmap>()
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage cachedSmiley()
{
    return QImage(happyPath() + ".png", "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Every image of the built-in theme is in the cache as a 20x20 PNG with its twin for dense
// screens, drawn afresh from the platform's icon at 40 pixels, and nothing else.
void verifyRenderedCache()
{
    const QStringList paths
        = EmoticonThemeFactory::defaultEmoticonTheme().filepathToPickerImageMapping().keys();
    QCOMPARE(paths.size(), 18);
    // The cache itself would lend its images to the icon ids they are named after.
    MTheme::clearPixmapDirectories();
    for (const QString &path : paths) {
        QCOMPARE(QFileInfo(path).absolutePath(), cache().absolutePath());
        QCOMPARE(QImage(path, "PNG").size(), QSize(20, 20));
        const std::unique_ptr<QPixmap> icon(
            MTheme::pixmapCopy(QFileInfo(path).baseName(), QSize(40, 40)));
        QImage twin(path.chopped(4) + "@2x.png");
        QVERIFY2(twin == icon->toImage().convertToFormat(QImage::Format_ARGB32), qPrintable(path));
    }
    QCOMPARE(cachedFiles().size(), 2 * 18); // with the @2x twins
    QVERIFY(QFileInfo(previewPath()).isFile());
    // The HTML names each image without suffix: a program that does not guess one finds the PNG.
    const QList<QString> named
        = EmoticonThemeFactory::defaultEmoticonTheme().codeSequenceToFilepathMapping().values();
    QCOMPARE(QSet<QString>(named.cbegin(), named.cend()).size(), 18);
    for (const QString &name : named) {
        const QByteArray bytes = GlyphmorphTest::readBytes(name);
        QVERIFY2(bytes.startsWith("\x89PNG\r\n\x1a\n"), qPrintable(name));
        QCOMPARE(bytes, GlyphmorphTest::readBytes(name + ".png"));
    }
}

} // namespace

class DefaultEmoticonThemeHandlerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // No defaults, so that the platform theme key can be unset.
    void initTestCase() { qputenv("GLYPHMORPH_SETTINGS_DEFAULTS", ""); }

    void init()
    {
        MGConfItem(platformKey).unset();
        MGConfItem(renderedKey).unset();
        QDir directory = cache();
        QVERIFY(directory.removeRecursively() && directory.mkpath("."));
        QFile::remove(previewPath());
    }

    // What a reload finds in the cache: the theme is published whatever it is, and rendered
    // when the cache is not whole (stray files go then).
    void reload_data()
    {
        QTest::addColumn<QString>("cached");
        QTest::addColumn<bool>("renders");
        QTest::addColumn<bool>("written");
        QTest::newRow("nothing, a stray file") << "stray" << true << true;
        // Neither a rewrite nor a deletion would leave a marker as it is.
        QTest::newRow("every image") << "whole" << false << true;
        QTest::newRow("an image missing") << "missing" << true << true;
        QTest::newRow("an image that cannot be written") << "blocked" << false << false;
    }

    void reload()
    {
        QFETCH(QString, cached);
        QFETCH(bool, renders);
        const QString blocked = EmoticonThemeFactory::defaultEmoticonTheme()
                                    .filepathToPickerImageMapping()
                                    .keys()
                                    .first();
        MGConfItem(platformKey).set("base");
        if (cached == "stray")
            QVERIFY(GlyphmorphTest::writeBytes(cache().filePath("stray.png"), "stray"));
        if (cached == "blocked")
            QVERIFY(QDir().mkdir(blocked));
        if (cached == "whole" || cached == "missing") {
            QVERIFY(DefaultEmoticonThemeHandler().reloadDefaultEmoticonTheme());
            const QString first = cache().filePath(cachedFiles().firstKey());
            QVERIFY(cached == "whole" ? GlyphmorphTest::writeBytes(first, "marker")
                                      : QFile::remove(first));
        }
        const QMap<QString, QByteArray> before = cachedFiles();

        DefaultEmoticonThemeHandler handler;
        QStringList events;
        record(handler, events);
        QTEST(handler.reloadDefaultEmoticonTheme(), "written");
        QCOMPARE(events, QStringList { "added Default" });
        if (cached == "blocked") {
            QVERIFY(QDir().rmdir(blocked));
            return;
        }
        QCOMPARE(MGConfItem(renderedKey).value(), QVariant("base"));
        if (renders)
            verifyRenderedCache();
        else
            QCOMPARE(cachedFiles(), before);
        if (cached == "missing") {
            // Holding a published theme, the handler withdraws it before rendering.
            QVERIFY(cache().remove(cachedFiles().lastKey()));
            QVERIFY(handler.reloadDefaultEmoticonTheme());
            QCOMPARE(events, QStringList({ "added Default", "removed Default", "added Default" }));
            verifyRenderedCache();
        }
    }

    // The platform theme switched here, or by another application that renders the images itself,
    // heard of late or not yet. A listening handler publishes nothing while the key is unset; a
    // second init neither reloads nor connects again (that would add a pair to one emission).
    // Editors then insert the new images under the same names.
    void platformThemeSwitch_data()
    {
        QTest::addColumn<bool>("here");
        QTest::addColumn<bool>("listening");
        QTest::newRow("here") << true << true;
        QTest::newRow("elsewhere, not heard of yet") << false << false;
        QTest::newRow("elsewhere, heard of late") << false << true;
    }

    void platformThemeSwitch()
    {
        QFETCH(bool, here);
        QFETCH(bool, listening);
        DefaultEmoticonThemeHandler handler;
        QStringList events;
        record(handler, events);
        if (listening) {
            handler.init();
            QVERIFY(!handler.reloadDefaultEmoticonTheme());
            QVERIFY(events.isEmpty() && cachedFiles().isEmpty());
            QVERIFY(!MGConfItem(renderedKey).value().isValid());
        }
        MGConfItem(platformKey).set("base");
        if (listening) {
            QTRY_COMPARE(events, QStringList { "added Default" });
            handler.init();
        } else {
            QVERIFY(DefaultEmoticonThemeHandler().reloadDefaultEmoticonTheme());
        }
        verifyRenderedCache();
        const QMap<QString, QByteArray> baseFiles = cachedFiles();
        const QByteArray basePreview = GlyphmorphTest::readBytes(previewPath());
        MTextEdit edit;
        const QImage base = typeSmiley(edit);
        QCOMPARE(base, cachedSmiley());

        if (here) {
            MGConfItem(platformKey).set("night");
        } else {
            QProcess switcher;
            switcher.setProcessChannelMode(QProcess::ForwardedChannels);
            switcher.start(SETTINGSWRITER, { "render", "night" });
            QVERIFY(switcher.waitForFinished(60000));
            QCOMPARE(switcher.exitStatus(), QProcess::NormalExit);
            QCOMPARE(switcher.exitCode(), 0);
        }
        if (listening)
            QTRY_COMPARE(
                events, QStringList({ "added Default", "removed Default", "added Default" }));
        if (here)
            QCOMPARE(MGConfItem(renderedKey).value(), QVariant("night"));
        verifyRenderedCache();
        const QMap<QString, QByteArray> nightFiles = cachedFiles();
        for (auto it = nightFiles.cbegin(); it != nightFiles.cend(); ++it)
            QVERIFY2(it.value() != baseFiles.value(it.key()), qPrintable(it.key()));
        QVERIFY(GlyphmorphTest::readBytes(previewPath()) != basePreview);

        const QImage night = typeSmiley(edit);
        QVERIFY(night != base);
        QCOMPARE(night, cachedSmiley());
        MTextEdit other;
        QCOMPARE(typeSmiley(other), night);
    }

    // On a dense screen editors show the sharper twin, laid out at the image's own size.
    void editorsTakeHighDensityTwins()
    {
        MGConfItem(platformKey).set("base");
        QVERIFY(DefaultEmoticonThemeHandler().reloadDefaultEmoticonTheme());
        const EmoticonImageFile file = EmoticonImageFile::current(happyPath());
        QSize laidOut[2];
        for (const int ratio : { 1, 2 }) {
            const QPixmap pixmap = file.pixmap(ratio);
            QCOMPARE(pixmap.devicePixelRatio(), qreal(ratio));
            const QString shown = ratio == 1 ? file.path : file.path.chopped(4) + "@2x.png";
            QCOMPARE(pixmap.toImage().convertToFormat(QImage::Format_ARGB32),
                QImage(shown).convertToFormat(QImage::Format_ARGB32));
            QTextDocument document;
            document.addResource(QTextDocument::ImageResource, QUrl(happyPath()), pixmap);
            QTextCursor(&document).insertImage(EmoticonImageFile::textFormat(happyPath(), ":)"));
            laidOut[ratio - 1] = document.size().toSize();
        }
        QCOMPARE(laidOut[1], laidOut[0]);
    }
};

GLYPHMORPH_TEST_MAIN(DefaultEmoticonThemeHandlerTest)
#include "defaultemoticonthemehandlertest.moc"
