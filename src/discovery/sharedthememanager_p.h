// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the one theme manager of the process, created by its first user.
#ifndef GLYPHMORPH_SHAREDTHEMEMANAGER_P_H
#define GLYPHMORPH_SHAREDTHEMEMANAGER_P_H

#include "emoticonthememanager.h"

inline EmoticonThemeManager *sharedThemeManager()
{
    if (!SingletonBase<EmoticonThemeManager>::m_pInstance)
        SingletonBase<EmoticonThemeManager>::m_pInstance = new EmoticonThemeManager();
    return SingletonBase<EmoticonThemeManager>::m_pInstance;
}

#endif
