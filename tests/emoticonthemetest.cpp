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
    return new emoSequenceSearchTree({ { ":)", "/a.png" } });
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
    watchedDeletes += p && p == watchedAddress;
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    operator delete(p);
}

void operator delete(void *p, const std::nothrow_t &) noexcept
{
    operator delete(p);
}

class EmoticonThemeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A theme is a handle: setters through any copy, one taken through a QVariant included, change
    // every copy.
    void settersChangeEveryCopy()
    {
        EmoticonTheme original;
        QVERIFY(!original.isValid() && !original.characterCodeSequenceSearchTree());
        const EmoticonTheme earlierCopy = original;
        EmoticonTheme viaVariant = QVariant::fromValue(original).value<EmoticonTheme>();
        const QHash<QString, QString> mapping = { { ":)", "/a" } };
        viaVariant.setThemeName("name");
        viaVariant.setcodeSequenceToPriorityMapping(mapping);
        for (const EmoticonTheme &theme : { earlierCopy, original }) {
            QCOMPARE(theme.themeName(), QStringLiteral("name"));
            QCOMPARE(theme.codeSequenceToPriorityMapping(), mapping);
        }
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
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmoticonThemeTest)
#include "emoticonthemetest.moc"
