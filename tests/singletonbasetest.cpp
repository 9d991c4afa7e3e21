// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "singletonbase.h"
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
    void init() { QVERIFY(!Shared::m_pInstance); }

    void deletingTheInstanceClearsThePointer()
    {
        Shared::m_pInstance = new Shared;
        delete Shared::m_pInstance;
        QVERIFY(!Shared::m_pInstance);
    }

    void deletingAnotherObjectKeepsTheInstance()
    {
        auto *instance = new Shared;
        Shared::m_pInstance = instance;
        delete new Shared;
        {
            Shared onStack;
        }
        QCOMPARE(Shared::m_pInstance, instance);
        delete instance;
        QVERIFY(!Shared::m_pInstance);
    }

    void deletingThroughTheBaseClearsThePointer()
    {
        Shared::m_pInstance = new Shared;
        SingletonBase<Shared> *base = Shared::m_pInstance;
        delete base;
        QVERIFY(!Shared::m_pInstance);
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(SingletonBaseTest)
#include "singletonbasetest.moc"
