// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_EMOTICONTHEME_H
#define GLYPHMORPH_EMOTICONTHEME_H

#include "glyphmorph_export.h"

#include <QExplicitlySharedDataPointer>
#include <QHash>
#include <QMetaType>
#include <QString>

class EmoticonThemeData;
class emoSequenceSearchTree;

/**
 * One emoticon theme: identity, display name, preview names, the four mappings between codes,
 * image files, picker images and positions, and the search tree over the codes.
 *
 * A small handle to shared data. Copies share one data block and setters never detach: a change
 * made through any copy is seen by every copy. The data block owns the search tree.
 * A default-constructed theme is empty and not valid; every failure in the library yields one.
 */
class GLYPHMORPH_EXPORT EmoticonTheme
{
public:
    EmoticonTheme();
    EmoticonTheme(const EmoticonTheme &other);
    EmoticonTheme &operator=(const EmoticonTheme &other);
    ~EmoticonTheme();

    QString serviceUUID() const;
    void setServiceUUID(const QString &serviceUUID);
    QString themeUUID() const;
    void setThemeUUID(const QString &themeUUID);
    QString themeName() const;
    void setThemeName(const QString &themeName);
    /** Platform pixmap id of the preview image, "preview_" + themeUUID(). */
    QString previewPixmapName() const;
    void setPreviewPixmapName(const QString &previewPixmapName);
    /** Path of the emoticon image the preview is made from. */
    QString previewIconName() const;
    void setPreviewIconName(const QString &previewIconName);

    /** Every code, plain and HTML-escaped, to the image path used in text. */
    const QHash<QString, QString> &codeSequenceToFilepathMapping() const;
    void setCodeSequenceToFilepathMapping(const QHash<QString, QString> &mapping);
    /** Resolved image file path to the emoticon's default code, one entry per emoticon. */
    const QHash<QString, QString> &filePathToCodeSequenceMapping() const;
    void setFilepathToCodeSequenceMapping(const QHash<QString, QString> &mapping);
    /** Resolved image file path to the platform pixmap id the picker shows. */
    const QHash<QString, QString> &filepathToPickerImageMapping() const;
    void setFilepathToPickerImageMapping(const QHash<QString, QString> &mapping);
    /** Default code to the emoticon's position, as decimal text ("0", "1", ...). */
    const QHash<QString, QString> &codeSequenceToPriorityMapping() const;
    void setcodeSequenceToPriorityMapping(const QHash<QString, QString> &mapping);

    /** The owned search tree, or null. Do not keep it beyond the next change of the tree. */
    emoSequenceSearchTree *characterCodeSequenceSearchTree() const;
    /** Takes ownership of @p tree and deletes the tree held before (unless it is @p tree). */
    void setCharacterCodeSequenceSearchTree(emoSequenceSearchTree *tree);

    /** The picker image id stored for @p filePath, or a null string. */
    QString getPickerImage(const QString &filePath);

    /** True when UUID and name are non-empty, the tree exists and both code mappings have entries.
     */
    bool isValid() const;

private:
    friend class EmoticonThemePrivate;
    QExplicitlySharedDataPointer<EmoticonThemeData> d;
};

Q_DECLARE_METATYPE(EmoticonTheme)

#endif
