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
const void *watched = nullptr;
int watchedDeletes = 0;

int deletesOf(const void *address, const std::function<void()> &action)
{
    watched = address;
    watchedDeletes = 0;
    action();
    watched = nullptr;
    return watchedDeletes;
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
    watchedDeletes += p && p == watched;
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
        const EmoticonTheme earlierCopy = original;
        EmoticonTheme viaVariant = QVariant::fromValue(original).value<EmoticonTheme>();
        viaVariant.setThemeName("name");
        for (const EmoticonTheme &theme : { earlierCopy, original })
            QCOMPARE(theme.themeName(), QStringLiteral("name"));
    }

    // The theme owns its tree: handing back the same tree keeps it, a new one or the last copy's
    // end deletes it once.
    void treeDeletedOnce()
    {
        const QHash<QString, QString> codes = { { ":)", "/a.png" } };
        auto *first = new emoSequenceSearchTree(codes);
        auto *theme = new EmoticonTheme;
        theme->setCharacterCodeSequenceSearchTree(first);
        QCOMPARE(deletesOf(first, [&] { theme->setCharacterCodeSequenceSearchTree(first); }), 0);
        QCOMPARE(first->performPlainText2HTMLReplacement(":)", 0, QString()),
            QStringLiteral("<img src='/a.png'  width='20' height='20'>"));
        auto *second = new emoSequenceSearchTree(codes);
        QCOMPARE(deletesOf(first, [&] { theme->setCharacterCodeSequenceSearchTree(second); }), 1);
        QVariant copy = QVariant::fromValue(*theme);
        QCOMPARE(deletesOf(second, [&] { delete theme; }), 0);
        QCOMPARE(copy.value<EmoticonTheme>().characterCodeSequenceSearchTree(), second);
        QCOMPARE(deletesOf(second, [&] { copy = QVariant(); }), 1);
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(EmoticonThemeTest)
#include "emoticonthemetest.moc"
