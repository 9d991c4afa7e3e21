// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Emoticon HTML from a peer back to plain text, checked against the two expressions the
// conversion is defined by (on short inputs, where their backtracking stays cheap).
#include "fuzzsupport.h"
#include "glyphmorpher.h"
#include "htmltoplainmodel.h"

namespace {

constexpr int ModelLengthLimit = 300;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    GlyphmorphFuzz::isolate();
    GlyphmorphFuzz::startApplication();
    Glyphmorpher::m_pInstance = new Glyphmorpher;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString html = GlyphmorphFuzz::Input(data, size).rest();
    const QString plain = Glyphmorpher::m_pInstance->transformHTMLToPlainText(html);
    // A tag becomes a part of itself and a line break one character: text never grows.
    GLYPHMORPH_FUZZ_CHECK(plain.size() <= html.size(), html);
    if (html.size() <= ModelLengthLimit) {
        const QString expected = GlyphmorphTest::htmlToPlainWithExpressions(html);
        GLYPHMORPH_FUZZ_CHECK(plain == expected,
            html + QStringLiteral("\ngives\n") + plain + QStringLiteral("\nnot\n") + expected);
    }
    return 0;
}
