// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "glyphmorpher.h"

#include "documentplaintext_p.h"
#include "emosequencesearchtree.h"
#include "emoticonimagefile_p.h"
#include "emoticonthememanager.h"
#include "mtextedit.h"
#include "mtextedit_p.h"
#include "sharedinstance_p.h"

#include <QPixmap>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

template class SingletonBase<Glyphmorpher>;

Glyphmorpher::Glyphmorpher(QObject *parent)
    : QObject(parent)
{
    sharedInstance<EmoticonThemeManager>();
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
    const EmoticonTheme theme
        = sharedInstance<EmoticonThemeManager>()->themeForAccountPath(accountPath);
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    return tree ? tree->performPlainText2HTMLReplacement(plainText, n, lineBreak) : plainText;
}

void Glyphmorpher::addEmoticonToTextEdit(
    MTextEdit *textEdit, const QString &characterCode, const QString &imagePath)
{
    if (!textEdit)
        return;
    const QPixmap pixmap = EmoticonImageFile::current(imagePath).pixmap();
    if (pixmap.isNull())
        return;
    // Replaced every time: the document may hold an older image under the same path.
    textEdit->document()->addResource(QTextDocument::ImageResource, QUrl(imagePath), pixmap);
    QTextImageFormat format = EmoticonImageFile::textFormat(imagePath, characterCode);
    format.setWidth(pixmap.width());
    format.setHeight(pixmap.height());
    textEdit->textCursor().insertImage(format);
}

void Glyphmorpher::transformTextEditContentToEmoticonInPlace(
    MTextEdit *textEdit, const QString &accountPath, bool wholeDocument)
{
    if (!textEdit)
        return;
    // The user's text goes through plain text and back: the editor's limit must not cut it.
    const MTextEditLimitExemption exemption(textEdit);
    if (wholeDocument) {
        // Read the way the walk will make images of it again, so that a second pass changes
        // nothing: no space is put between a word's end (a paragraph start too) and a code.
        DocumentPlainText content(DocumentPlainText::Separation::AfterWalkSeparator, false);
        content.readAll(textEdit->document());
        textEdit->blockSignals(true);
        textEdit->setText(content.text());
        textEdit->blockSignals(false);
    }
    const EmoticonTheme theme
        = sharedInstance<EmoticonThemeManager>()->themeForAccountPath(accountPath);
    if (emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree()) {
        textEdit->blockSignals(true);
        tree->performCharacterCode2EmoticonReplacement(textEdit, wholeDocument);
        textEdit->blockSignals(false);
    }
}
