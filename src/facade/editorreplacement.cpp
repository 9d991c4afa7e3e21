// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "editorreplacement_p.h"

#include "emojipreferences.h"
#include "emojipreferences_p.h"
#include "emosequencesearchtree_p.h"
#include "emoticonthememanager.h"
#include "mtextedit_p.h"
#include "sharedinstance_p.h"
#include "texteditoraccess_p.h"

#include <QPair>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QVector>

#include <memory>
#include <optional>

namespace {

// Where an editor keeps what EmojiUses::noteMadeEmoji needs of its latest count.
const char LastEmojiNote[] = "lastEmojiNote";

} // namespace

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
    emoSequenceSearchTree *tree = theme.characterCodeSequenceSearchTree();
    if (!tree)
        return;

    // Read only when a walk makes an emoji image.
    std::unique_ptr<EmojiPreferences> preferences;
    const auto userPreferences = [&preferences]() -> EmojiPreferences & {
        if (!preferences)
            preferences = std::make_unique<EmojiPreferences>();
        return *preferences;
    };
    // A shortcode is the user's way of naming an emoji: its image takes the user's skin tone.
    // An emoji written out stays as written.
    editor.emojiOfShortcode = [&userPreferences](const QString &emoji) {
        return userPreferences().applySkinTone(emoji);
    };
    // Only what the user typed or pasted is a use, not what a pass over the whole content makes.
    QVector<QPair<QString, QString>> made;
    if (!wholeDocument) {
        editor.emojiImageMade = [&made](const QString &emoji, const QString &grownFrom) {
            made.append({ emoji, grownFrom });
        };
    }
    {
        const auto forget = qScopeGuard([&editor] {
            editor.emojiOfShortcode = nullptr;
            editor.emojiImageMade = nullptr;
        });
        const QSignalBlocker blocker(editor.editor());
        emoSequenceSearchTreePrivate::get(tree)->performCharacterCode2EmoticonReplacement(
            editor, wholeDocument);
    }
    if (!made.isEmpty()) {
        QStringList lastNote = editor.editor()->property(LastEmojiNote).toStringList();
        EmojiUses::noteMadeEmoji(userPreferences(), made, lastNote);
        editor.editor()->setProperty(LastEmojiNote, lastNote);
    }
}
