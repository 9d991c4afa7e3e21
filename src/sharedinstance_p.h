// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the process-wide object of a SingletonBase class, created by its first user.
#ifndef GLYPHMORPH_SHAREDINSTANCE_P_H
#define GLYPHMORPH_SHAREDINSTANCE_P_H

#include "singletonbase.h"

template<typename T> T *sharedInstance()
{
    if (!SingletonBase<T>::m_pInstance)
        SingletonBase<T>::m_pInstance = new T();
    return SingletonBase<T>::m_pInstance;
}

#endif
