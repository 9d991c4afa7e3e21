// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: whether the scans use SSE2.
#ifndef GLYPHMORPH_SIMD_P_H
#define GLYPHMORPH_SIMD_P_H

// The portable loops stand in where SSE2 is missing, and in builds that test them
// (GLYPHMORPH_SIMD=OFF).
#if defined(__SSE2__) && !defined(GLYPHMORPH_NO_SIMD)
#define GLYPHMORPH_SCAN_SSE2
#include <emmintrin.h>
#endif

#endif
