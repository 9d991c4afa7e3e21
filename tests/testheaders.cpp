// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Nothing of its own: the tests' shared precompiled headers are built with it.
