// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoticontheme.h"
#include "emosequencesearchtree.h"
#include "testenvironment.h"

#include <QVariant>

#include <cstdlib>
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
} // namespace

// Allocation is replaced along with release: memory from the runtime's own operator new must not
// reach free() (AddressSanitizer reports the mismatch).
void *operator new(std::size_t size)
{
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return std::malloc(size ? size : 1);
}

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

void operator delete(void *p, const std::nothrow_t &) noexcept
{
    noteDelete(p);
    std::free(p);
}

class EmoticonThemeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultConstructedIsEmpty()
    {
        EmoticonTheme theme;
        QVERIFY(!theme.isValid());
        QVERIFY(theme.themeUUID().isNull() && theme.themeName().isNull());
        QVERIFY(!theme.characterCodeSequenceSearchTree());
        QVERIFY(theme.getPickerImage(QStringLiteral("/a.png")).isNull());
    }

    void settersChangeEveryCopy()
    {
        EmoticonTheme original;
        const EmoticonTheme earlierCopy = original;
        EmoticonTheme viaVariant = QVariant::fromValue(original).value<EmoticonTheme>();
        const QHash<QString, QString> mapping = { { QStringLiteral(":)"), QStringLiteral("/a") } };
        viaVariant.setThemeName(QStringLiteral("name"));
        viaVariant.setPreviewPixmapName(QStringLiteral("pixmap"));
        viaVariant.setcodeSequenceToPriorityMapping(mapping);
        for (const EmoticonTheme &theme : { earlierCopy, original }) {
            QCOMPARE(theme.themeName(), QStringLiteral("name"));
            QCOMPARE(theme.previewPixmapName(), QStringLiteral("pixmap"));
            QCOMPARE(theme.codeSequenceToPriorityMapping(), mapping);
        }
    }

    void validity_data()
    {
        // Which of uuid, name, tree, codes and files the theme gets; validity needs all five.
        QTest::addColumn<QString>("present");
        for (const char *present : { "untcf", "ntcf", "utcf", "uncf", "untf", "untc" })
            QTest::newRow(present) << QString::fromLatin1(present);
    }

    void validity()
    {
        QFETCH(QString, present);
        EmoticonTheme theme;
        const QHash<QString, QString> one = { { QStringLiteral(":)"), QStringLiteral("/a") } };
        theme.setThemeUUID(present.contains(QLatin1Char('u')) ? QStringLiteral("u-1") : QString());
        theme.setThemeName(present.contains(QLatin1Char('n')) ? QStringLiteral("Name") : QString());
        if (present.contains(QLatin1Char('t')))
            theme.setCharacterCodeSequenceSearchTree(newTree());
        if (present.contains(QLatin1Char('c')))
            theme.setCodeSequenceToFilepathMapping(one);
        if (present.contains(QLatin1Char('f')))
            theme.setFilepathToCodeSequenceMapping(one);
        QCOMPARE(theme.isValid(), present.size() == 5);
    }

    void replacingTheTreeDeletesThePreviousOnce()
    {
        EmoticonTheme theme;
        emoSequenceSearchTree *first = newTree();
        theme.setCharacterCodeSequenceSearchTree(first);
        {
            // Handing back the owned tree keeps it.
            DeleteWatch watch(first);
            theme.setCharacterCodeSequenceSearchTree(first);
            QCOMPARE(watch.count(), 0);
            QCOMPARE(first->performPlainText2HTMLReplacement(QStringLiteral(":)"), 0, QString()),
                QStringLiteral("<img src='/a.png'  width='20' height='20'>"));
        }
        emoSequenceSearchTree *second = newTree();
        {
            DeleteWatch watch(first);
            theme.setCharacterCodeSequenceSearchTree(second);
            QCOMPARE(watch.count(), 1);
            QCOMPARE(theme.characterCodeSequenceSearchTree(), second);
        }
        DeleteWatch watch(second);
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
