// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: rewrites of an editor's content that its length limit does not cut, and what
// copying its selection gives.
#ifndef GLYPHMORPH_MTEXTEDIT_P_H
#define GLYPHMORPH_MTEXTEDIT_P_H

#include <QtGlobal>

class MTextEdit;
class QMimeData;
class QTextCursor;

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

/**
 * What copying a selection of any MTextEdit (a copy or cut key, the context menu) puts on the
 * clipboard. The library above the platform layer reads images as the codes they carry; until it
 * sets a source, the text item's own data is copied.
 */
class MTextEditClipboard
{
public:
    /** A new QMimeData of the selection of @p selection. */
    using MimeSource = QMimeData *(*)(const QTextCursor &selection);
    static void setMimeSource(MimeSource source);
};

#endif
