// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: whether a file that others control may be opened. Also compiled into the tool.
#ifndef GLYPHMORPH_UNSAFEFILE_P_H
#define GLYPHMORPH_UNSAFEFILE_P_H

#include <QString>
#include <QStringList>

namespace UnsafeFile {

/** Why the file at @p path may not be opened: it is not a regular file once symbolic links are
 *  resolved (a FIFO never ends, a device may not), or it resolves outside every directory of
 *  @p allowed. Empty when it may; @p resolved gets the path it resolves to. Opens nothing. */
QString problem(const QString &path, const QStringList &allowed, QString *resolved = nullptr);

} // namespace UnsafeFile

#endif
