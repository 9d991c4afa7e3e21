// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "editorreplacement_p.h"

#include "emojipreferences.h"
#include "emosequencesearchtree_p.h"
#include "emoticonthememanager.h"
#include "mgconfitem.h"
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

// The editor's latest note: the emoji, and the recent emoji as stored before and after it.
const char LastEmojiNote[] = "lastEmojiNote";
// Where EmojiPreferences keeps the recent emoji; read and restored only as a whole.
const QString RecentKey = QStringLiteral("/Messaging/Settings/Emoji/Recent");

// An emoji typed or pasted counts as one use, however many steps its image took: when an image
// grows (a tone or a joined part typed after it), the use noted for its earlier form is taken
// back, by restoring the recent emoji as they were before it, unless anything was noted since.
void noteTypedEmoji(
    QObject *editor, EmojiPreferences &preferences, const QVector<QPair<QString, QString>> &made)
{
    MGConfItem recent(RecentKey);
    // A long paste counts no more uses than the list holds, each a write of the store.
    const int count = qMin(int(made.size()), EmojiPreferences::maxRecentEmoji);
    for (int i = made.size() - count; i < made.size(); ++i) {
        const QString &emoji = made.at(i).first;
        const QString &grownFrom = made.at(i).second;
        const QStringList last = editor->property(LastEmojiNote).toStringList();
        if (!grownFrom.isEmpty() && last.size() == 3 && last.at(0) == grownFrom
            && recent.value().toString() == last.at(2))
            recent.set(last.at(1));
        const QString before = recent.value().toString();
        if (preferences.noteEmojiUsed(emoji))
            editor->setProperty(
                LastEmojiNote, QStringList { emoji, before, recent.value().toString() });
    }
}

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
    if (!made.isEmpty())
        noteTypedEmoji(editor.editor(), userPreferences(), made);
}
