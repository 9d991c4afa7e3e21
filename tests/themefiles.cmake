# SPDX-FileCopyrightText: 2026 glyphmorph developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Tests of theme files: the parser, theme construction, the built-in theme and previews.
glyphmorph_add_test(emoticonthemefactorytest SOURCES emoticonthemefactorytest.cpp)
# Files and text that others control: nesting, FIFOs and devices as images, oversized results.
glyphmorph_add_test(hostileinputtest SOURCES hostileinputtest.cpp themedirectory.h)
