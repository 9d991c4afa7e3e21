// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the stylesheets of the platform's libraries, read by style containers.
#ifndef GLYPHMORPH_MSTYLESHEET_P_H
#define GLYPHMORPH_MSTYLESHEET_P_H

#include "glyphmorph_export.h"

#include <QPair>
#include <QPalette>
#include <QString>
#include <QVector>

class QObject;

/**
 * One block of a stylesheet: `Type.StyleName#ObjectName:mode { attribute: value; ... }`, every
 * part of the selector but one optional. An empty part matches anything.
 */
struct MStyleRule
{
    QString type;
    QString styleName;
    QString objectName;
    QString mode;
    QVector<QPair<QString, QString>> attributes;
};

namespace MStyleSheet {

/** The rules of @p text in their order. Malformed selectors, blocks and declarations are skipped;
 *  a block is never read past a brace that does not belong to it. */
GLYPHMORPH_AUTOTEST_EXPORT QVector<MStyleRule> parse(const QString &text);
/** "column-count" -> "columnCount". */
GLYPHMORPH_AUTOTEST_EXPORT QString propertyName(const QString &attribute);
/** The role that `palette(NAME)` names, as Qt style sheets name them ("window-text"); false in
 *  @p ok for an unknown name. */
GLYPHMORPH_AUTOTEST_EXPORT QPalette::ColorRole paletteRole(const QString &name, bool *ok);
/** Writes @p value to the property named by @p attribute; false (and no change) when @p style has
 *  no such property or the value does not fit its type. A colour may be `palette(ROLE)`, the
 *  colour of that role in @p palette. */
GLYPHMORPH_AUTOTEST_EXPORT bool assign(QObject *style, const QString &attribute,
    const QString &value, const QPalette &palette = QPalette());
/**
 * Assigns the attributes of every rule in @p rules that matches, least specific first (object
 * name, then style name, then mode, then the exact type; later rules before earlier ones of the
 * same weight). A rule type matches @p type or any class @p style derives from.
 */
GLYPHMORPH_AUTOTEST_EXPORT void apply(QObject *style, const QString &type,
    const QString &objectName, const QString &styleName, const QString &mode,
    const QVector<MStyleRule> &rules, const QPalette &palette = QPalette());

/** Makes the stylesheet of library @p name (the resource ":/stylesheets/NAME.css") count. */
void addLibrary(const QString &name);
void removeLibrary(const QString &name);
/** The rules of the platform's sheet (":/stylesheets/mplatform.css") and of every library
 *  added, read when first needed, in the order of adding. */
GLYPHMORPH_AUTOTEST_EXPORT QVector<MStyleRule> libraryRules();

} // namespace MStyleSheet

#endif
