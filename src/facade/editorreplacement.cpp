// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "editorreplacement_p.h"

#include "emosequencesearchtree_p.h"
#include "emoticonthememanager.h"
#include "mtextedit_p.h"
#include "sharedinstance_p.h"
#include "texteditoraccess_p.h"

#include <QSignalBlocker>

#include <optional>

void EditorReplacement::replaceCodes(
    TextEditorAccess &editor, const QString &accountPath, bool wholeDocument)
{
    // The user's text goes through plain text and back: the editor's limit must not cut it.
    std::optional<MTextEditLimitExemption> exemption;
    if (editor.m_mTextEdit)
        exemption.emplace(editor.m_mTextEdit);
    if (wholeDocument)
        editor.reduceToPlainText();
    const EmoticonTheme theme
        = sharedInstance<EmoticonThemeManager>()->themeForAccountPath(accountPath);
    if (emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree()) {
        const QSignalBlocker blocker(editor.editor());
        emoSequenceSearchTreePrivate::get(tree)->performCharacterCode2EmoticonReplacement(
            editor, wholeDocument);
    }
}
