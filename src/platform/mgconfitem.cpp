// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mgconfitem.h"

#include "settingsstore_p.h"

#include <atomic>

class MGConfItemPrivate final : public SettingsListener
{
public:
    MGConfItemPrivate(MGConfItem *q, const QString &key)
        : q(q)
        , key(key)
    { }
    MGConfItemPrivate(const MGConfItemPrivate &) = delete;
    MGConfItemPrivate &operator=(const MGConfItemPrivate &) = delete;

    void settingChanged() override;

    MGConfItem *const q;
    const QString key;
    // One queued emission covers every change made before it runs.
    std::atomic<bool> emissionQueued { false };
};

void MGConfItemPrivate::settingChanged()
{
    if (emissionQueued.exchange(true))
        return;
    // Queued with the item as context: it runs in the item's thread and is dropped with the item.
    QMetaObject::invokeMethod(
        q,
        [this] {
            emissionQueued = false;
            Q_EMIT q->valueChanged();
        },
        Qt::QueuedConnection);
}

MGConfItem::MGConfItem(const QString &key, QObject *parent)
    : QObject(parent)
    , d(new MGConfItemPrivate(this, key))
{
    if (SettingsStore *store = SettingsStore::instance())
        store->addListener(d->key, d.get());
}

MGConfItem::~MGConfItem()
{
    if (SettingsStore *store = SettingsStore::instance())
        store->removeListener(d->key, d.get());
}

QString MGConfItem::key() const
{
    return d->key;
}

QVariant MGConfItem::value() const
{
    SettingsStore *store = SettingsStore::instance();
    const std::optional<QString> value = store ? store->value(d->key) : std::nullopt;
    return value ? QVariant(*value) : QVariant();
}

QVariant MGConfItem::value(const QVariant &defaultValue) const
{
    const QVariant stored = value();
    return stored.isValid() ? stored : defaultValue;
}

bool MGConfItem::set(const QVariant &value)
{
    SettingsStore *store = SettingsStore::instance();
    return store
        && store->setValue(
            d->key, value.isValid() ? std::optional<QString>(value.toString()) : std::nullopt);
}

void MGConfItem::unset()
{
    set(QVariant());
}
