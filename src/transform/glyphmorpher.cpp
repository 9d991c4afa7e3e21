// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "glyphmorpher.h"

#include "boundedfile_p.h"
#include "emosequencesearchtree.h"
#include "mtextedit.h"
#include "sharedthememanager_p.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPixmap>
#include <QPixmapCache>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

template class SingletonBase<Glyphmorpher>;

namespace {

// Keyed by the file found and its time and size, as the editor walk keys it: a built-in image
// rendered again under the same path is read afresh, an unchanged one comes from the cache.
QPixmap currentPixmap(const QString &imagePath)
{
    const QString file = BoundedFile::imageFile(imagePath);
    if (file.isEmpty())
        return QPixmap();
    const QFileInfo info(file);
    const QString key = file % QLatin1Char('@')
        % QString::number(info.lastModified().toMSecsSinceEpoch()) % QLatin1Char('@')
        % QString::number(info.size());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(BoundedFile::readImage(file));
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

Glyphmorpher::Glyphmorpher(QObject *parent)
    : QObject(parent)
{
    sharedThemeManager();
}

Glyphmorpher::~Glyphmorpher()
{
    delete SingletonBase<EmoticonThemeManager>::m_pInstance;
    SingletonBase<EmoticonThemeManager>::m_pInstance = nullptr;
}

QString Glyphmorpher::transformPlainTextToHTML(
    const QString &plainText, const QString &accountPath, int n, const QString &lineBreak)
{
    // The copy keeps the theme, and with it the tree, alive while the tree works.
    const EmoticonTheme theme = sharedThemeManager()->themeForAccountPath(accountPath);
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    return tree ? tree->performPlainText2HTMLReplacement(plainText, n, lineBreak) : plainText;
}

void Glyphmorpher::addEmoticonToTextEdit(
    MTextEdit *textEdit, const QString &characterCode, const QString &imagePath)
{
    if (!textEdit)
        return;
    const QPixmap pixmap = currentPixmap(imagePath);
    if (pixmap.isNull())
        return;
    // Replaced every time: the document may hold an older image under the same path.
    textEdit->document()->addResource(QTextDocument::ImageResource, QUrl(imagePath), pixmap);
    QTextImageFormat format;
    format.setName(imagePath);
    format.setWidth(pixmap.width());
    format.setHeight(pixmap.height());
    format.setProperty(QTextFormat::UserProperty, characterCode);
    format.setVerticalAlignment(QTextCharFormat::AlignBottom);
    textEdit->textCursor().insertImage(format);
}

void Glyphmorpher::transformTextEditContentToEmoticonInPlace(
    MTextEdit *textEdit, const QString &accountPath, bool wholeDocument)
{
    if (!textEdit)
        return;
    if (wholeDocument) {
        const QString plainText = transformTextEditContentToPlainText(textEdit);
        textEdit->blockSignals(true);
        textEdit->setText(plainText);
        textEdit->blockSignals(false);
    }
    const EmoticonTheme theme = sharedThemeManager()->themeForAccountPath(accountPath);
    if (emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree()) {
        textEdit->blockSignals(true);
        tree->performCharacterCode2EmoticonReplacement(textEdit, wholeDocument);
        textEdit->blockSignals(false);
    }
}
