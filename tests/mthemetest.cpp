// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mtheme.h"
#include "mgconfitem.h"
#include "testenvironment.h"

#include <QImage>
#include <QPixmap>

#include <memory>

Q_DECLARE_METATYPE(M::RecursionMode)

namespace {

const QString happyId = QStringLiteral("icon-m-messaging-smiley-happy");
const QColor red(255, 0, 0);

QImage render(const QString &id, const QSize &size = QSize(32, 32))
{
    const std::unique_ptr<QPixmap> pixmap(MTheme::pixmapCopy(id, size));
    return pixmap ? pixmap->toImage().convertToFormat(QImage::Format_ARGB32) : QImage();
}

// Share of pixels whose colour differs clearly, so antialiasing noise does not count.
double differingShare(const QImage &a, const QImage &b)
{
    int differing = 0;
    for (int i = 0; i < a.width() * a.height(); ++i) {
        int distance = 0;
        for (int channel = 0; channel < 4; ++channel)
            distance += qAbs(a.constBits()[4 * i + channel] - b.constBits()[4 * i + channel]);
        differing += distance > 48;
    }
    return double(differing) / (a.width() * a.height());
}

// A red SVG for a name ending in .svg, else a PNG.
void writeImage(const QString &path, const QColor &color = red)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(color);
    if (path.endsWith(".svg"))
        QVERIFY(GlyphmorphTest::writeBytes(path,
            "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
            "<rect width='8' height='8' fill='#ff0000'/></svg>"));
    else
        QVERIFY(image.save(path, "PNG"));
}

} // namespace

class MThemeTest : public QObject
{
    Q_OBJECT

    static void setTheme(const QString &name) { MGConfItem("/meegotouch/theme/name").set(name); }

    QTemporaryDir m_systemThemes;
    QStringList m_ids; // the 36 icons every built-in theme has
    QVector<QImage> m_base;

private Q_SLOTS:
    void initTestCase()
    {
        writeImage(m_systemThemes.filePath("sepia/icons/" + happyId + ".png"), QColor(112, 66, 20));
        QVERIFY(QDir().mkpath(m_systemThemes.filePath(QStringLiteral("noicons/other"))));
        qputenv("GLYPHMORPH_PLATFORM_THEMES_DIR", QFile::encodeName(m_systemThemes.path()));
        for (const char *name : { "angry", "cool", "cry", "evil", "grin", "happy", "heart", "kiss",
                 "lips-sealed", "sad", "sarcastic", "skeptical", "sleepy", "surprised", "tongue",
                 "very-happy", "wink", "worried" }) {
            for (const char *size : { "m", "s" }) {
                m_ids << QStringLiteral("icon-%1-messaging-smiley-%2").arg(size, name);
                m_base << render(m_ids.last());
                QVERIFY2(!m_base.last().isNull(), qPrintable(m_ids.last()));
            }
        }
    }

    void cleanup()
    {
        MTheme::clearPixmapDirectories();
        setTheme(QStringLiteral("base"));
    }

    void rendersAtTheAskedSize_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("expected");

        QTest::newRow("not square") << happyId << QSize(30, 50) << QSize(30, 50);
        QTest::newRow("path") << "../night/icons/" + happyId << QSize(8, 8) << QSize();
    }

    void rendersAtTheAskedSize()
    {
        QFETCH(QString, id);
        QFETCH(QSize, size);
        QFETCH(QSize, expected);

        const QImage image = render(id, size);
        QCOMPARE(image.isNull() ? QSize() : image.size(), expected);
        if (!image.isNull()) {
            QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2).alpha(), 255);
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // drawn on a transparent image
        }
    }

    void themeFollowsTheSetting_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");

        QTest::newRow("built in") << "night" << QStringLiteral("night");
        QTest::newRow("system, lacking icons") << "sepia" << QStringLiteral("sepia");
        QTest::newRow("unknown") << "no-such-theme" << QStringLiteral("base");
        QTest::newRow("path") << "../sepia" << QStringLiteral("base");
    }

    void themeFollowsTheSetting()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);

        QCOMPARE(MTheme::availableThemes(), QStringList({ "base", "night", "sepia" }));
        setTheme(QStringLiteral("night"));
        setTheme(name);
        QCOMPARE(MTheme::currentTheme(), expected);
        for (int i = 0; i < m_ids.size(); ++i) {
            const QImage image = render(m_ids.at(i));
            // Icons a theme lacks come from "base".
            const bool own = expected == "night" || (expected == "sepia" && m_ids.at(i) == happyId);
            QVERIFY2(own ? differingShare(m_base.at(i), image) > 0.2 : image == m_base.at(i),
                qPrintable(m_ids.at(i)));
        }
    }

    void directoryImagesBecomeIds_data()
    {
        QTest::addColumn<M::RecursionMode>("mode");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("addedLater");
        QTest::addColumn<bool>("found");

        QTest::newRow("svg") << M::NonRecursive << "custom.svg" << false << true;
        QTest::newRow("over the theme") << M::NonRecursive << happyId + ".png" << false << true;
        QTest::newRow("subdirectory") << M::NonRecursive << "sub/custom.png" << false << false;
        QTest::newRow("later, new subdirectories") << M::Recursive << "a/b/new.png" << true << true;
        QTest::newRow("later, over the theme") << M::Recursive << happyId + ".png" << true << true;
    }

    void directoryImagesBecomeIds()
    {
        QFETCH(M::RecursionMode, mode);
        QFETCH(QString, file);
        QFETCH(bool, addedLater);
        QFETCH(bool, found);

        QTemporaryDir directory;
        const QString id = QFileInfo(file).baseName();
        const bool inTheTheme = id == happyId;
        QImage redIcon(12, 20, QImage::Format_ARGB32); // scaled, not square
        redIcon.fill(red);
        MTheme::addPixmapDirectory(directory.path(), mode);
        if (addedLater)
            QCOMPARE(!render(id).isNull(), inTheTheme);
        writeImage(directory.filePath(file));
        QCOMPARE(render(id, redIcon.size()) == redIcon, found);
        // Once the file is gone, the theme's icon (if any) is back.
        QVERIFY(QFile::remove(directory.filePath(file)));
        const QImage after = render(id, redIcon.size());
        QCOMPARE(!after.isNull(), inTheTheme);
        QVERIFY(after != redIcon);
    }

    void sharedPixmapIsReferenceCounted()
    {
        const QPixmap *shared = MTheme::pixmap(happyId, QSize(24, 24));
        QVERIFY(shared);
        QCOMPARE(MTheme::pixmap(happyId, QSize(24, 24)), shared);
        const QPixmap *small = MTheme::pixmap(happyId, QSize(12, 12));
        QCOMPARE(small->size(), QSize(12, 12));
        MTheme::releasePixmap(small);

        MTheme::releasePixmap(shared);
        // Still held once: the same pixmap, intact.
        QCOMPARE(MTheme::pixmap(happyId, QSize(24, 24)), shared);
        QCOMPARE(shared->toImage().convertToFormat(QImage::Format_ARGB32),
            render(happyId, QSize(24, 24)));
        MTheme::releasePixmap(shared);
        MTheme::releasePixmap(shared);

        const QPixmap *unknown = MTheme::pixmap(QStringLiteral("no-such-icon"));
        QVERIFY(unknown && unknown->isNull());
        MTheme::releasePixmap(unknown);
    }
};

GLYPHMORPH_TEST_MAIN(MThemeTest)
#include "mthemetest.moc"
