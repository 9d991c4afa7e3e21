// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MNAMESPACE_H
#define GLYPHMORPH_MNAMESPACE_H

/** Enumerations shared by the platform services. */
namespace M {
enum Orientation
{
    Portrait = 0,
    Landscape = 1
};
enum RecursionMode
{
    NonRecursive = 0,
    Recursive = 1
};
enum AssemblyType
{
    Library = 0,
    Application = 1
};
} // namespace M

#endif
