// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_SINGLETONBASE_H
#define GLYPHMORPH_SINGLETONBASE_H

#include <functional>

/**
 * Second base class of the library's process-wide objects.
 *
 * The first user that finds m_pInstance null creates the object with new (without parent) and
 * stores it there; every later user shares it. Destroying the object sets m_pInstance back to null,
 * so a later user creates a fresh one instead of reaching a deleted object.
 *
 * A shared library that uses it for one of its classes makes the instance pointer one for the whole
 * process by declaring `extern template class EXPORT_MACRO SingletonBase<Foo>;` in Foo's header,
 * before Foo derives from it (an export attribute given after that is ignored), and instantiating
 * it explicitly in one of its sources.
 */
template<typename T> class SingletonBase
{
public:
    SingletonBase() = default;
    SingletonBase(const SingletonBase &) = delete;
    SingletonBase &operator=(const SingletonBase &) = delete;

    virtual ~SingletonBase()
    {
        // By now the T part is gone, so converting between T* and this base is not allowed;
        // comparing addresses as bytes is: is this base inside the object m_pInstance points at?
        if (!m_pInstance)
            return;
        const auto *self = static_cast<const char *>(static_cast<const void *>(this));
        const auto *first = static_cast<const char *>(static_cast<const void *>(m_pInstance));
        if (std::less_equal<const char *>()(first, self)
            && std::less<const char *>()(self, first + sizeof(T)))
            m_pInstance = nullptr;
    }

    static T *m_pInstance;
};

template<typename T> T *SingletonBase<T>::m_pInstance = nullptr;

#endif
