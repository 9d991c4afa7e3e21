// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: rewrites of an editor's content that its length limit does not cut.
#ifndef GLYPHMORPH_MTEXTEDIT_P_H
#define GLYPHMORPH_MTEXTEDIT_P_H

#include <QtGlobal>

class MTextEdit;

/**
 * While one lives, changes to the editor's content are not cut at its length limit, and the
 * content they leave may stay longer than the limit: it may shrink, and the limit applies to what
 * is added to it. For the library's own rewrites of what the user wrote, which must lose nothing.
 */
class MTextEditLimitExemption
{
public:
    explicit MTextEditLimitExemption(MTextEdit *editor);
    ~MTextEditLimitExemption();

private:
    Q_DISABLE_COPY(MTextEditLimitExemption)
    MTextEdit *const m_editor;
};

#endif
