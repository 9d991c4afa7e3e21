// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mtheme.h"
#include "mgconfitem.h"
#include "testenvironment.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

Q_DECLARE_METATYPE(M::RecursionMode)

namespace {

const QString happyId = QStringLiteral("icon-m-messaging-smiley-happy");
const QString themeKey = QStringLiteral("/meegotouch/theme/name");
const QColor red(255, 0, 0);
const QColor sepia(112, 66, 20);

const QStringList smileyNames { "angry", "cool", "cry", "evil", "grin", "happy", "heart", "kiss",
    "lips-sealed", "sad", "sarcastic", "skeptical", "sleepy", "surprised", "tongue", "very-happy",
    "wink", "worried" };

QStringList builtInIds()
{
    QStringList ids;
    for (const QString &name : smileyNames) {
        ids << QStringLiteral("icon-m-messaging-smiley-") + name
            << QStringLiteral("icon-s-messaging-smiley-") + name;
    }
    return ids;
}

QImage render(const QString &id, const QSize &size = QSize(32, 32))
{
    const std::unique_ptr<QPixmap> pixmap(MTheme::pixmapCopy(id, size));
    return pixmap ? pixmap->toImage().convertToFormat(QImage::Format_ARGB32) : QImage();
}

bool isFilledWith(const QImage &image, const QColor &color)
{
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != color)
                return false;
        }
    }
    return true;
}

// Share of pixels whose colour differs clearly, so antialiasing noise does not count.
double differingShare(const QImage &a, const QImage &b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (qAbs(p.red() - q.red()) + qAbs(p.green() - q.green()) + qAbs(p.blue() - q.blue())
                    + qAbs(p.alpha() - q.alpha())
                > 48)
                ++differing;
        }
    }
    return double(differing) / (a.width() * a.height());
}

void writePng(const QString &path, const QColor &color, const QSize &size = QSize(10, 10))
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    QVERIFY(image.save(path, "PNG"));
}

void writeRedSvg(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
               "<rect width='8' height='8' fill='#ff0000'/></svg>");
}

void switchTheme(const QString &name)
{
    MGConfItem item(themeKey);
    if (item.value().toString() == name)
        return;
    QSignalSpy changed(&item, &MGConfItem::valueChanged);
    item.set(name);
    QVERIFY(changed.count() > 0 || changed.wait());
}

} // namespace

class MThemeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void rendersAtTheAskedSize_data();
    void rendersAtTheAskedSize();
    void unknownIdGivesNull_data();
    void unknownIdGivesNull();
    void builtInThemesLookDifferent();
    void nonThemeFallsBackToBase_data();
    void nonThemeFallsBackToBase();
    void systemThemeAddsIcons();
    void directoryImagesBecomeIds_data();
    void directoryImagesBecomeIds();
    void directoryWinsOverTheme();
    void fileAddedAfterRegistrationIsFound_data();
    void fileAddedAfterRegistrationIsFound();
    void removedFileFallsBackToTheme();
    void rasterImageIsScaled_data();
    void rasterImageIsScaled();
    void sharedPixmapIsReferenceCounted();

private:
    QTemporaryDir m_systemThemes;
    std::unique_ptr<QTemporaryDir> m_directory;
};

void MThemeTest::initTestCase()
{
    QVERIFY(m_systemThemes.isValid());
    writePng(m_systemThemes.filePath(QStringLiteral("sepia/icons/") + happyId + ".png"), sepia);
    QVERIFY(QDir().mkpath(m_systemThemes.filePath(QStringLiteral("noicons/other"))));
    qputenv("GLYPHMORPH_PLATFORM_THEMES_DIR", QFile::encodeName(m_systemThemes.path()));
}

void MThemeTest::init()
{
    m_directory.reset(new QTemporaryDir);
    QVERIFY(m_directory->isValid());
}

void MThemeTest::cleanup()
{
    MTheme::clearPixmapDirectories();
    switchTheme(QStringLiteral("base"));
}

void MThemeTest::rendersAtTheAskedSize_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("20x20") << happyId << QSize(20, 20) << QSize(20, 20);
    QTest::newRow("100x100") << happyId << QSize(100, 100) << QSize(100, 100);
    QTest::newRow("not square") << "icon-s-messaging-smiley-wink" << QSize(30, 50) << QSize(30, 50);
    QTest::newRow("invalid size gives own size") << happyId << QSize() << QSize(64, 64);
    QTest::newRow("empty size gives own size") << happyId << QSize(0, 0) << QSize(64, 64);
}

void MThemeTest::rendersAtTheAskedSize()
{
    QFETCH(QString, id);
    QFETCH(QSize, size);
    QFETCH(QSize, expected);

    const QImage image = render(id, size);
    QCOMPARE(image.size(), expected);
    QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2).alpha(), 255);
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
}

void MThemeTest::unknownIdGivesNull_data()
{
    QTest::addColumn<QString>("id");

    QTest::newRow("unknown") << "icon-m-messaging-smiley-nonexistent";
    QTest::newRow("empty") << QString();
    QTest::newRow("path out of the theme") << "../night/icons/icon-m-messaging-smiley-happy";
    QTest::newRow("with suffix") << "icon-m-messaging-smiley-happy.svg";
}

void MThemeTest::unknownIdGivesNull()
{
    QFETCH(QString, id);
    QVERIFY(!MTheme::pixmapCopy(id, QSize(16, 16)));
}

void MThemeTest::builtInThemesLookDifferent()
{
    QVERIFY(MTheme::availableThemes().contains(QStringLiteral("base")));
    QVERIFY(MTheme::availableThemes().contains(QStringLiteral("night")));
    const QStringList ids = builtInIds();
    QVector<QImage> base;
    for (const QString &id : ids) {
        base << render(id);
        QVERIFY2(!base.last().isNull(), qPrintable(id));
    }

    switchTheme(QStringLiteral("night"));
    QCOMPARE(MTheme::currentTheme(), QStringLiteral("night"));
    for (int i = 0; i < ids.size(); ++i) {
        const QImage night = render(ids.at(i));
        QVERIFY2(!night.isNull(), qPrintable(ids.at(i)));
        QVERIFY2(differingShare(base.at(i), night) > 0.2, qPrintable(ids.at(i)));
    }

    switchTheme(QStringLiteral("base"));
    QCOMPARE(render(happyId), base.at(ids.indexOf(happyId)));
}

void MThemeTest::nonThemeFallsBackToBase_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("unknown name") << "no-such-theme";
    QTest::newRow("directory without icons") << "noicons";
    QTest::newRow("path") << "../sepia";
    QTest::newRow("empty") << QString();
}

void MThemeTest::nonThemeFallsBackToBase()
{
    QFETCH(QString, name);
    const QImage base = render(happyId);

    switchTheme(QStringLiteral("night"));
    switchTheme(name);
    QCOMPARE(MTheme::currentTheme(), QStringLiteral("base"));
    QCOMPARE(render(happyId), base);
}

void MThemeTest::systemThemeAddsIcons()
{
    const QStringList themes = MTheme::availableThemes();
    QVERIFY(themes.contains(QStringLiteral("sepia")));
    QVERIFY(!themes.contains(QStringLiteral("noicons")));
    const QImage baseSad = render(QStringLiteral("icon-m-messaging-smiley-sad"));

    switchTheme(QStringLiteral("sepia"));
    QCOMPARE(MTheme::currentTheme(), QStringLiteral("sepia"));
    QVERIFY(isFilledWith(render(happyId, QSize(24, 24)), sepia));
    // Icons the theme lacks come from "base".
    QCOMPARE(render(QStringLiteral("icon-m-messaging-smiley-sad")), baseSad);
}

void MThemeTest::directoryImagesBecomeIds_data()
{
    QTest::addColumn<M::RecursionMode>("mode");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("found");

    QTest::newRow("top level") << M::NonRecursive << "custom.png" << true;
    QTest::newRow("top level, recursive") << M::Recursive << "custom.png" << true;
    QTest::newRow("svg") << M::NonRecursive << "custom.svg" << true;
    QTest::newRow("subdirectory") << M::NonRecursive << "sub/custom.png" << false;
    QTest::newRow("subdirectory, recursive") << M::Recursive << "sub/custom.png" << true;
    QTest::newRow("deep, recursive") << M::Recursive << "a/b/c/custom.png" << true;
    QTest::newRow("not an image") << M::Recursive << "custom.txt" << false;
}

void MThemeTest::directoryImagesBecomeIds()
{
    QFETCH(M::RecursionMode, mode);
    QFETCH(QString, file);
    QFETCH(bool, found);

    const QString path = m_directory->filePath(file);
    if (file.endsWith(QLatin1String(".svg")))
        writeRedSvg(path);
    else
        writePng(path, red);
    MTheme::addPixmapDirectory(m_directory->path(), mode);

    const QImage image = render(QStringLiteral("custom"), QSize(8, 8));
    QCOMPARE(!image.isNull(), found);
    if (found)
        QVERIFY(isFilledWith(image, red));
}

void MThemeTest::directoryWinsOverTheme()
{
    writePng(m_directory->filePath(happyId + ".png"), red);
    MTheme::addPixmapDirectory(m_directory->path());
    QVERIFY(isFilledWith(render(happyId), red));

    MTheme::clearPixmapDirectories();
    QVERIFY(!isFilledWith(render(happyId), red));
}

void MThemeTest::fileAddedAfterRegistrationIsFound_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("knownBefore");

    QTest::newRow("new id") << "preview.png"
                            << "preview" << false;
    QTest::newRow("in a new subdirectory") << "cache/preview.png"
                                           << "preview" << false;
    QTest::newRow("shadowing a theme icon") << happyId + ".png" << happyId << true;
}

void MThemeTest::fileAddedAfterRegistrationIsFound()
{
    QFETCH(QString, file);
    QFETCH(QString, id);
    QFETCH(bool, knownBefore);

    MTheme::addPixmapDirectory(m_directory->path(), M::Recursive);
    const QImage before = render(id);
    QCOMPARE(!before.isNull(), knownBefore);
    QVERIFY(!isFilledWith(before, red));

    writePng(m_directory->filePath(file), red);
    QVERIFY(isFilledWith(render(id), red));
}

void MThemeTest::removedFileFallsBackToTheme()
{
    const QString path = m_directory->filePath(happyId + ".png");
    writePng(path, red);
    MTheme::addPixmapDirectory(m_directory->path());
    QVERIFY(isFilledWith(render(happyId), red));

    QVERIFY(QFile::remove(path));
    const QImage image = render(happyId);
    QVERIFY(!image.isNull());
    QVERIFY(!isFilledWith(image, red));
}

void MThemeTest::rasterImageIsScaled_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("own size") << QSize() << QSize(10, 6);
    QTest::newRow("larger") << QSize(40, 24) << QSize(40, 24);
    QTest::newRow("smaller") << QSize(5, 3) << QSize(5, 3);
    QTest::newRow("other aspect ratio") << QSize(7, 30) << QSize(7, 30);
}

void MThemeTest::rasterImageIsScaled()
{
    QFETCH(QSize, size);
    QFETCH(QSize, expected);

    writePng(m_directory->filePath(QStringLiteral("raster.png")), red, QSize(10, 6));
    MTheme::addPixmapDirectory(m_directory->path());
    const QImage image = render(QStringLiteral("raster"), size);
    QCOMPARE(image.size(), expected);
    QVERIFY(isFilledWith(image, red));
}

void MThemeTest::sharedPixmapIsReferenceCounted()
{
    const QPixmap *first = MTheme::pixmap(happyId, QSize(24, 24));
    const QPixmap *second = MTheme::pixmap(happyId, QSize(24, 24));
    QVERIFY(first);
    QCOMPARE(second, first);
    QCOMPARE(first->size(), QSize(24, 24));
    const QPixmap *otherSize = MTheme::pixmap(happyId, QSize(12, 12));
    QVERIFY(otherSize != first);
    QCOMPARE(otherSize->size(), QSize(12, 12));
    MTheme::releasePixmap(otherSize);

    MTheme::releasePixmap(first);
    QCOMPARE(second->size(), QSize(24, 24));
    QCOMPARE(
        second->toImage().convertToFormat(QImage::Format_ARGB32), render(happyId, QSize(24, 24)));
    QCOMPARE(MTheme::pixmap(happyId, QSize(24, 24)), second);
    MTheme::releasePixmap(second);
    MTheme::releasePixmap(second);

    const QPixmap *unknown = MTheme::pixmap(QStringLiteral("no-such-icon"));
    QVERIFY(unknown);
    QVERIFY(unknown->isNull());
    MTheme::releasePixmap(unknown);
}

GLYPHMORPH_TEST_MAIN(MThemeTest)
#include "mthemetest.moc"
