// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "glyphmorpher.h"

#include "editorreplacement_p.h"
#include "emoticonthememanager.h"
#include "sharedinstance_p.h"
#include "texteditoraccess_p.h"

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
    return transformPlainTextToHTML(plainText, accountPath, n, lineBreak, DefaultConversion);
}

void Glyphmorpher::addEmoticonToTextEdit(
    MTextEdit *textEdit, const QString &characterCode, const QString &imagePath)
{
    if (textEdit)
        TextEditorAccess(textEdit).addEmoticon(characterCode, imagePath);
}

void Glyphmorpher::transformTextEditContentToEmoticonInPlace(
    MTextEdit *textEdit, const QString &accountPath, bool wholeDocument)
{
    if (textEdit) {
        TextEditorAccess editor(textEdit);
        EditorReplacement::replaceCodes(editor, accountPath, wholeDocument);
    }
}

void Glyphmorpher::addEmoticonToTextEdit(
    QTextEdit *textEdit, const QString &characterCode, const QString &imagePath)
{
    if (textEdit)
        TextEditorAccess(textEdit).addEmoticon(characterCode, imagePath);
}

void Glyphmorpher::transformTextEditContentToEmoticonInPlace(
    QTextEdit *textEdit, const QString &accountPath, bool wholeDocument)
{
    if (textEdit) {
        TextEditorAccess editor(textEdit);
        EditorReplacement::replaceCodes(editor, accountPath, wholeDocument);
    }
}
