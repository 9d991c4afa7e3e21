// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "keptcode_p.h"

#include <QObject>
#include <QTextCursor>
#include <QVariant>

namespace {

const char KeptCodeProperty[] = "keptCode";

// The cursor stands on the code's first and last character: it follows edits before and inside
// the code, and text typed after the code leaves it alone.
struct KeptRange
{
    QTextCursor range;
    QString code;
};

} // namespace

Q_DECLARE_METATYPE(KeptRange)

void KeptCode::keep(QObject *editor, QTextDocument *document, int from, const QString &code)
{
    QTextCursor range(document);
    range.setPosition(from);
    range.setPosition(from + int(code.size()) - 1, QTextCursor::KeepAnchor);
    editor->setProperty(KeptCodeProperty, QVariant::fromValue(KeptRange { range, code }));
}

bool KeptCode::isKept(const QObject *editor, int from, const QString &code)
{
    const QVariant stored = editor->property(KeptCodeProperty);
    if (!stored.canConvert<KeptRange>())
        return false;
    const KeptRange kept = stored.value<KeptRange>();
    return kept.code == code && kept.range.anchor() == from
        && kept.range.position() == from + int(code.size()) - 1;
}
