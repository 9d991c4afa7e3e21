// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticontheme.h"
#include "emosequencesearchtree.h"
#include "testenvironment.h"

#include <QVariant>

#include <cstdlib>
#include <functional>
#include <new>

// Counts how often the watched address is released, inside the library as well: the executable's
// operator delete replaces the one the library links against.
namespace {
const void *watchedAddress = nullptr;
int watchedDeletes = 0;

void noteDelete(void *p)
{
    if (p && p == watchedAddress)
        ++watchedDeletes;
}

struct DeleteWatch
{
    explicit DeleteWatch(const void *address)
    {
        watchedAddress = address;
        watchedDeletes = 0;
    }
    ~DeleteWatch() { watchedAddress = nullptr; }
    int count() const { return watchedDeletes; }
};

emoSequenceSearchTree *newTree()
{
    return new emoSequenceSearchTree({ { QStringLiteral(":)"), QStringLiteral("/a.png") } });
}

using Setter = std::function<void(EmoticonTheme &, const QString &)>;
using Getter = std::function<QString(const EmoticonTheme &)>;
} // namespace

void operator delete(void *p) noexcept
{
    noteDelete(p);
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    noteDelete(p);
    std::free(p);
}

Q_DECLARE_METATYPE(Setter)
Q_DECLARE_METATYPE(Getter)

class EmoticonThemeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultConstructedIsEmpty()
    {
        EmoticonTheme theme;
        QVERIFY(!theme.isValid());
        QVERIFY(theme.serviceUUID().isNull());
        QVERIFY(theme.themeUUID().isNull());
        QVERIFY(theme.themeName().isNull());
        QVERIFY(theme.previewPixmapName().isNull());
        QVERIFY(theme.previewIconName().isNull());
        QVERIFY(theme.codeSequenceToFilepathMapping().isEmpty());
        QVERIFY(theme.filePathToCodeSequenceMapping().isEmpty());
        QVERIFY(theme.filepathToPickerImageMapping().isEmpty());
        QVERIFY(theme.codeSequenceToPriorityMapping().isEmpty());
        QVERIFY(!theme.characterCodeSequenceSearchTree());
        QVERIFY(theme.getPickerImage(QStringLiteral("/a.png")).isNull());
    }

    void setterIsSeenByEveryCopy_data()
    {
        QTest::addColumn<Setter>("set");
        QTest::addColumn<Getter>("get");
        QTest::newRow("serviceUUID")
            << Setter(&EmoticonTheme::setServiceUUID) << Getter(&EmoticonTheme::serviceUUID);
        QTest::newRow("themeUUID")
            << Setter(&EmoticonTheme::setThemeUUID) << Getter(&EmoticonTheme::themeUUID);
        QTest::newRow("themeName")
            << Setter(&EmoticonTheme::setThemeName) << Getter(&EmoticonTheme::themeName);
        QTest::newRow("previewPixmapName") << Setter(&EmoticonTheme::setPreviewPixmapName)
                                           << Getter(&EmoticonTheme::previewPixmapName);
        QTest::newRow("previewIconName") << Setter(&EmoticonTheme::setPreviewIconName)
                                         << Getter(&EmoticonTheme::previewIconName);
        QTest::newRow("code mapping") << Setter([](EmoticonTheme &t, const QString &v) {
            t.setCodeSequenceToFilepathMapping({ { v, v } });
        }) << Getter([](const EmoticonTheme &t) {
            return t.codeSequenceToFilepathMapping().value(QStringLiteral("new"));
        });
        QTest::newRow("priority mapping") << Setter([](EmoticonTheme &t, const QString &v) {
            t.setcodeSequenceToPriorityMapping({ { v, v } });
        }) << Getter([](const EmoticonTheme &t) {
            return t.codeSequenceToPriorityMapping().value(QStringLiteral("new"));
        });
    }

    void setterIsSeenByEveryCopy()
    {
        QFETCH(Setter, set);
        QFETCH(Getter, get);
        EmoticonTheme original;
        set(original, QStringLiteral("old"));
        const EmoticonTheme earlierCopy = original;
        EmoticonTheme assigned;
        assigned = original;
        EmoticonTheme laterCopy = QVariant::fromValue(original).value<EmoticonTheme>();

        set(laterCopy, QStringLiteral("new"));
        QCOMPARE(get(original), QStringLiteral("new"));
        QCOMPARE(get(earlierCopy), QStringLiteral("new"));
        QCOMPARE(get(assigned), QStringLiteral("new"));
    }

    void validity_data()
    {
        QTest::addColumn<QString>("uuid");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("withTree");
        QTest::addColumn<bool>("withCodes");
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<bool>("valid");
        const QString uuid = QStringLiteral("u-1");
        const QString name = QStringLiteral("Name");
        QTest::newRow("complete") << uuid << name << true << true << true << true;
        QTest::newRow("empty uuid") << QString() << name << true << true << true << false;
        QTest::newRow("empty name") << uuid << QString() << true << true << true << false;
        QTest::newRow("no tree") << uuid << name << false << true << true << false;
        QTest::newRow("no codes") << uuid << name << true << false << true << false;
        QTest::newRow("no files") << uuid << name << true << true << false << false;
    }

    void validity()
    {
        QFETCH(QString, uuid);
        QFETCH(QString, name);
        QFETCH(bool, withTree);
        QFETCH(bool, withCodes);
        QFETCH(bool, withFiles);
        QFETCH(bool, valid);
        EmoticonTheme theme;
        theme.setThemeUUID(uuid);
        theme.setThemeName(name);
        if (withTree)
            theme.setCharacterCodeSequenceSearchTree(newTree());
        if (withCodes)
            theme.setCodeSequenceToFilepathMapping(
                { { QStringLiteral(":)"), QStringLiteral("/a") } });
        if (withFiles)
            theme.setFilepathToCodeSequenceMapping(
                { { QStringLiteral("/a.png"), QStringLiteral(":)") } });
        // Neither service, previews, picker images nor priorities decide validity.
        QCOMPARE(theme.isValid(), valid);
    }

    void replacingTheTreeDeletesThePreviousOnce()
    {
        EmoticonTheme theme;
        emoSequenceSearchTree *first = newTree();
        theme.setCharacterCodeSequenceSearchTree(first);
        DeleteWatch watch(first);
        theme.setCharacterCodeSequenceSearchTree(newTree());
        QCOMPARE(watch.count(), 1);
        QVERIFY(theme.characterCodeSequenceSearchTree() != first);
    }

    void handingBackTheOwnedTreeKeepsIt()
    {
        EmoticonTheme theme;
        emoSequenceSearchTree *tree = newTree();
        theme.setCharacterCodeSequenceSearchTree(tree);
        DeleteWatch watch(tree);
        theme.setCharacterCodeSequenceSearchTree(tree);
        QCOMPARE(watch.count(), 0);
        QCOMPARE(theme.characterCodeSequenceSearchTree(), tree);
        QCOMPARE(tree->performPlainText2HTMLReplacement(QStringLiteral(":)"), 0, QString()),
            QStringLiteral("<img src='/a.png'  width='20' height='20'>"));
    }

    void settingNullDeletesAndClears()
    {
        EmoticonTheme theme;
        emoSequenceSearchTree *tree = newTree();
        theme.setCharacterCodeSequenceSearchTree(tree);
        DeleteWatch watch(tree);
        theme.setCharacterCodeSequenceSearchTree(nullptr);
        QCOMPARE(watch.count(), 1);
        QVERIFY(!theme.characterCodeSequenceSearchTree());
    }

    void lastCopyDeletesTheTreeOnce()
    {
        emoSequenceSearchTree *tree = newTree();
        DeleteWatch watch(tree);
        {
            auto *theme = new EmoticonTheme;
            theme->setCharacterCodeSequenceSearchTree(tree);
            QVariant copy = QVariant::fromValue(*theme);
            delete theme;
            QCOMPARE(watch.count(), 0);
            QCOMPARE(copy.value<EmoticonTheme>().characterCodeSequenceSearchTree(), tree);
        }
        QCOMPARE(watch.count(), 1);
        EmoticonTheme withoutTree; // destroyed without any tree to delete
    }

    void registeredAsMetaType()
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        QVERIFY(QMetaType::fromName("EmoticonTheme").isValid());
#else
        QVERIFY(QMetaType::type("EmoticonTheme") != QMetaType::UnknownType);
#endif
        QCOMPARE(QVariant::fromValue(EmoticonTheme()).typeName(), "EmoticonTheme");
    }

    void pickerImageNeedsItsOwnEntry()
    {
        EmoticonTheme theme;
        theme.setFilepathToCodeSequenceMapping({ { QStringLiteral("/a.png"), QStringLiteral(":)") },
            { QStringLiteral("/b.png"), QStringLiteral(":(") } });
        theme.setFilepathToPickerImageMapping(
            { { QStringLiteral("/a.png"), QStringLiteral("icon-a") } });
        QCOMPARE(theme.getPickerImage(QStringLiteral("/a.png")), QStringLiteral("icon-a"));
        QVERIFY(theme.getPickerImage(QStringLiteral("/b.png")).isNull());
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmoticonThemeTest)
#include "emoticonthemetest.moc"
