// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "singletonbase.h"
#include "accountservicemapper.h"
#include "glyphmorpher.h"
#include "testenvironment.h"

namespace {
// Shaped like the library's singletons: QObject first, so the base sits at an offset.
class Shared : public QObject, public SingletonBase<Shared>
{
public:
    char payload[64] = {};
};
} // namespace

class SingletonBaseTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Only the instance clears the pointer, also when deleted through its base.
    void deletingTheInstanceClearsThePointer()
    {
        auto *instance = new Shared;
        Shared::m_pInstance = instance;
        delete new Shared;
        {
            Shared onStack;
        }
        QCOMPARE(Shared::m_pInstance, instance);
        SingletonBase<Shared> *base = instance;
        delete base;
        QVERIFY(!Shared::m_pInstance);
    }

    // The library's destructors and its users must reach one and the same instance pointer.
    void libraryInstances()
    {
        AccountServiceMapper::m_pInstance = new AccountServiceMapper;
        delete AccountServiceMapper::m_pInstance;
        QVERIFY(!AccountServiceMapper::m_pInstance);
        Glyphmorpher::m_pInstance = new Glyphmorpher;
        QVERIFY(Glyphmorpher::m_pInstance->qt_metacast("SingletonBase<Glyphmorpher>"));
        delete Glyphmorpher::m_pInstance;
        QVERIFY(!Glyphmorpher::m_pInstance);
    }
};

GLYPHMORPH_TEST_MAIN(SingletonBaseTest)
#include "singletonbasetest.moc"
