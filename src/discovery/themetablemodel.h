// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_THEMETABLEMODEL_H
#define GLYPHMORPH_THEMETABLEMODEL_H

#include "emoticontheme.h"
#include "glyphmorph_export.h"

#include <QAbstractItemModel>

#include <memory>

class ThemeTableModelPrivate;

/**
 * A flat table of emoticon themes for list and table views, one theme per row: column 0 shows
 * the theme name, column 1 its UUID; the decoration role of any column gives the platform pixmap
 * id of the theme's preview image.
 *
 * Filled by the client: setData() with an EmoticonTheme in a QVariant and Qt::DisplayRole
 * replaces the theme of an existing row, or appends a row when the index's row is at or beyond
 * the end.
 */
class GLYPHMORPH_EXPORT ThemeTableModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit ThemeTableModel(QObject *parent = nullptr);
    ~ThemeTableModel() override;

    /** Any non-negative row and column, also beyond the counts; invalid for negative ones. */
    QModelIndex index(
        int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    /** Always invalid: the table is flat. */
    QModelIndex parent(const QModelIndex &child) const override;
    /** The number of themes, for any parent. */
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /** 2, for any parent. */
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /** Only Qt::DisplayRole and a QVariant holding an EmoticonTheme; false for anything else. */
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    /** Removes every theme. */
    void resetModel();

private:
    const std::unique_ptr<ThemeTableModelPrivate> d;
};

#endif
