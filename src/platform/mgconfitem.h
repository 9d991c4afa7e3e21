// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_MGCONFITEM_H
#define GLYPHMORPH_MGCONFITEM_H

#include "glyphmorph_export.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

class MGConfItemPrivate;

/**
 * One key of the per-user settings store ("/Messaging/Settings/...", GConf-style paths).
 *
 * Values are strings. The store is one file below $XDG_CONFIG_HOME, written atomically and
 * serialised between processes; defaults come from a read-only defaults file shipped with the
 * platform layer (GLYPHMORPH_SETTINGS_DEFAULTS names another one). Every item of a key, in this
 * and in other processes, emits valueChanged() after the key changes, always from the event loop.
 */
class GLYPHMORPH_EXPORT MGConfItem : public QObject
{
    Q_OBJECT

public:
    explicit MGConfItem(const QString &key, QObject *parent = nullptr);
    ~MGConfItem() override;

    QString key() const;
    /** The stored value as a string, the default when unset, or an invalid QVariant. */
    QVariant value() const;
    /** value(), or @p defaultValue when that is invalid. */
    QVariant value(const QVariant &defaultValue) const;
    /** Stores @p value as a string; an invalid QVariant unsets the key. False when the store
     *  could not be written: a caller that must know tells it by this, since a later value()
     *  may already show another writer's change. */
    bool set(const QVariant &value);
    /** Removes the user's value; the default applies again. */
    void unset();

Q_SIGNALS:
    void valueChanged();

private:
    friend class MGConfItemPrivate;
    const std::unique_ptr<MGConfItemPrivate> d;
};

#endif
