// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "themetablemodel.h"

#include <QList>

namespace {

enum Column
{
    NameColumn = 0,
    UUIDColumn = 1,
    ColumnCount = 2
};

} // namespace

class ThemeTableModelPrivate
{
public:
    QList<EmoticonTheme> themes;
};

ThemeTableModel::ThemeTableModel(QObject *parent)
    : QAbstractItemModel(parent)
    , d(new ThemeTableModelPrivate)
{ }

ThemeTableModel::~ThemeTableModel() = default;

QModelIndex ThemeTableModel::index(int row, int column, const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    if (row < 0 || column < 0)
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex ThemeTableModel::parent(const QModelIndex &child) const
{
    Q_UNUSED(child)
    return QModelIndex();
}

int ThemeTableModel::rowCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return d->themes.size();
}

int ThemeTableModel::columnCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return ColumnCount;
}

QVariant ThemeTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= d->themes.size())
        return QVariant();
    const EmoticonTheme &theme = d->themes.at(index.row());
    if (role == Qt::DecorationRole)
        return QVariant(theme.previewPixmapName());
    if (role != Qt::DisplayRole)
        return QVariant();
    if (index.column() == NameColumn)
        return QVariant(theme.themeName());
    if (index.column() == UUIDColumn)
        return QVariant(theme.themeUUID());
    return QVariant();
}

bool ThemeTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    qRegisterMetaType<EmoticonTheme>("EmoticonTheme");
    if (!index.isValid() || !value.canConvert<EmoticonTheme>() || role != Qt::DisplayRole)
        return false;
    const EmoticonTheme theme = value.value<EmoticonTheme>();
    const int row = index.row();
    if (row < d->themes.size()) {
        d->themes[row] = theme;
        Q_EMIT dataChanged(createIndex(row, NameColumn), createIndex(row, UUIDColumn));
        return true;
    }
    // Announced at the row the theme really lands in: views would otherwise be told of rows
    // that do not exist.
    const int appended = d->themes.size();
    beginInsertRows(QModelIndex(), appended, appended);
    d->themes.append(theme);
    endInsertRows();
    return true;
}

void ThemeTableModel::resetModel()
{
    beginResetModel();
    d->themes.clear();
    endResetModel();
}
