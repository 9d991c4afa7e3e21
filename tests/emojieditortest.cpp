// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Emoji typed or pasted into an editor: images at grapheme boundaries, grown code point by code
// point, read back as the emoji, removed whole; shortcodes with the user's skin tone, typed emoji
// counted as used, and copied and pasted as text.
#include "editormodel.h"
#include "emojiimages_p.h"
#include "emojitree.h"
#include "glyphmorpher.h"
#include "mtextedit.h"
#include "testenvironment.h"
#include "texteditoraccess_p.h"

#include <emojipreferences.h>
#include <emoticonthemefactory.h>
#include <emoticonthememanager.h>
#include <mgconfitem.h>

#include <QClipboard>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>

#include <functional>

using namespace GlyphmorphTest;

namespace {

const QString emojiUUID = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");
const QString defaultUUID = QStringLiteral("343a7f65-0095-4eae-8fc2-87af7f3bf5158");
const QString currentKey = QStringLiteral("/Messaging/Settings/CurrentCustomEmoticonTheme");
const QString account = QStringLiteral("/account/emoji");

// @p edit changes the editor as a key press or a paste would; then the library's walk runs with
// the account's theme, the Emoji theme, told of the change as an application tells it.
template<typename Editor> void edited(Editor &editor, const std::function<void()> &edit)
{
    int changePosition = 0;
    int changeAdded = 0;
    const auto connection = QObject::connect(
        editor.document(), &QTextDocument::contentsChange, [&](int position, int, int added) {
            changePosition = position;
            changeAdded = added;
        });
    edit();
    QObject::disconnect(connection);
    editor.setProperty("positionOfChange", changePosition);
    editor.setProperty("charactersPasted", changeAdded);
    Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(&editor, account, false);
}

// The content, every image as "{code@path}", without the final paragraph separator.
QString notation(const QTextDocument *document)
{
    return positionNotation(document).chopped(1);
}

// Each piece goes in as one edit.
QString typed(MTextEdit &editor, const QStringList &pieces)
{
    for (const QString &piece : pieces) {
        edited(editor, [&] {
            QTextCursor cursor = editor.textCursor();
            cursor.insertText(piece);
            editor.setTextCursor(cursor);
        });
    }
    return notation(editor.document());
}

QStringList codePoints(const QString &text)
{
    QStringList pieces;
    for (int i = 0; i < text.size(); i += int(pieces.last().size()))
        pieces += text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
    return pieces;
}

// The Emoji theme's image of @p emoji.
QString image(const QString &emoji)
{
    return '{' + emoji + '@'
        + EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absoluteFilePath(
            "emoji/" + EmojiImages::fileName(emoji))
        + '}';
}

// An editor in a shown, active view, so that key and context menu events reach it.
struct Window
{
    Window()
    {
        scene.addItem(edit);
        view.show();
        view.activateWindow();
    }

    bool focus()
    {
        if (!QTest::qWaitForWindowActive(&view))
            return false;
        edit->setFocus();
        return edit->hasFocus();
    }

    void select(int from, int to)
    {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    }

    void selectAll() { select(0, edit->document()->characterCount() - 1); }

    // The text item's own context menu, opened over the first line.
    QMenu *openContextMenu()
    {
        const QPoint at = view.mapFromScene(edit->mapToScene(QPointF(8, 8)));
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at), Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    }

    QGraphicsScene scene;
    QGraphicsView view { &scene };
    MTextEdit *const edit = new MTextEdit;
};

// A Qt Widgets editor that copies as the library's documentation shows.
class ChatEdit : public QTextEdit
{
protected:
    QMimeData *createMimeDataFromSelection() const override
    {
        return Glyphmorpher::createMimeDataFromSelection(textCursor());
    }
};

} // namespace

class EmojiEditorTest : public QObject
{
    Q_OBJECT

private:
    EmojiTree emoji;
    EmojiPreferences preferences;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!EmojiImages::colourFontFamily().isEmpty(),
            "no colour emoji font: install fonts-noto-color-emoji (scripts/deps does)");
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(QDir::home().filePath("themes")));
        MGConfItem(currentKey).set(emojiUUID);
        Glyphmorpher::m_pInstance = new Glyphmorpher;
        QCOMPARE(
            EmoticonThemeManager::m_pInstance->themeForAccountPath(account).themeUUID(), emojiUUID);
    }

    void cleanupTestCase()
    {
        delete Glyphmorpher::m_pInstance;
        Glyphmorpher::m_pInstance = nullptr;
    }

    void init()
    {
        QVERIFY(preferences.setSkinTone(0));
        QVERIFY(preferences.clearSkinToneChoices());
        QVERIFY(preferences.clearRecentEmoji());
    }

    // Emoji typed code point by code point or pasted: images at grapheme boundaries, grown as the
    // sequence grows. A shortcode names the emoji in the user's skin tone; an emoji written out
    // stays as written. Each emoji counts once as used, as the emoji its image finally became; a
    // step "+EMOJI" is a use noted elsewhere (a picker) between two edits, "=TEXT" the content
    // set and then walked whole, as after a theme change, "<Backspace>" what the editor's key does.
    void typing_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<int>("tone");
        QTest::addColumn<QString>("choice");
        const auto row = [](const char *name, const QStringList &steps, const QString &content,
                             const QStringList &recent, int tone = 0, const QString &choice = {}) {
            QTest::newRow(name) << steps << content << recent << tone << choice;
        };
        const QString thumbs = QStringLiteral("👍");
        const QString toned = QStringLiteral("👍🏽");
        const QString party = QStringLiteral("🎉");
        const QString family = QStringLiteral("👨‍👩‍👧");
        row("inside a word, code point by code point", codePoints("great" + thumbs + thumbs),
            "great" + image(thumbs) + image(thumbs), { thumbs });
        row("a joined sequence grows into one image", codePoints(family), image(family),
            { family });
        row("a tone joins the image before it", codePoints("ok " + toned), "ok " + image(toned),
            { toned });
        row("backspace removes the whole emoji", codePoints("ok" + toned) << "<Backspace>", "ok",
            { toned });
        row("pasted with tones", { "a" + toned + toned + " b" },
            "a" + image(toned) + image(toned) + " b", { toned });
        row("pasted run", { "a" + thumbs + party + " b" },
            "a" + image(thumbs) + image(party) + " b", { party, thumbs });
        row("emoji after one that could grow", { thumbs, party }, image(thumbs) + image(party),
            { party, thumbs });
        row("the same emoji after a grown one", { thumbs, "🏽", thumbs },
            image(toned) + image(thumbs), { thumbs, toned });
        row("a use noted in between stays, and so does the earlier form",
            { thumbs, "+" + party, "🏽" }, image(toned), { toned, party, thumbs });
        row("shortcode reads back as the emoji", codePoints(":thumbsup: "), image(thumbs) + " ",
            { thumbs });
        row("shortcode takes a typed tone", codePoints(":thumbsup:🏽"), image(toned), { toned });
        row("shortcode in the default tone", codePoints(":thumbsup:"), image(toned), { toned }, 3);
        row("the emoji's own choice over the default", codePoints(":thumbsup:"), image("👍🏿"),
            { "👍🏿" }, 3, "👍🏿");
        row("another emoji's choice", codePoints(":thumbsup:"), image(thumbs), { thumbs }, 0,
            "👋🏻");
        row("no tone variants", codePoints(":heart:"), image("❤️"), { "❤️" }, 3);
        row("two people", codePoints(":couple:"), image("👫🏿"), { "👫🏿" }, 5);
        row("an emoji typed keeps no tone", { thumbs }, image(thumbs), { thumbs }, 3);
        row("an emoji typed keeps its tone", codePoints("👍🏻"), image("👍🏻"),
            { "👍🏻" }, 3, "👍🏿");
        const QString unknown = QStringLiteral("a\U0001F468\u200D\U0001F9B0\u200D\U0001F9B0b");
        row("unknown joined sequence stays text", { unknown }, unknown, {});
        row("shortcode inside a word stays text", codePoints("x:thumbsup: "), "x:thumbsup: ", {});
        row("text-default character after FE0F", codePoints(QStringLiteral("\u00A9 x\u263A\uFE0F")),
            QStringLiteral("\u00A9 x") + image(QStringLiteral("\u263A\uFE0F")),
            { QStringLiteral("\u263A\uFE0F") });
        row("no emoji", codePoints("hi :-) :nonsense:"), "hi :-) :nonsense:", {});
        row("a pass over the whole content counts no use", { "=👍 :heart: " + family },
            image(thumbs) + " " + image("❤️") + " " + image(family), {});
    }

    void typing()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, content);
        QFETCH(QStringList, recent);
        QFETCH(int, tone);
        QFETCH(QString, choice);
        QVERIFY(preferences.setSkinTone(tone));
        if (!choice.isEmpty())
            QVERIFY(preferences.setSkinToneChoice(choice));
        MTextEdit editor;
        for (const QString &step : steps) {
            if (step.startsWith('+')) {
                QVERIFY(preferences.noteEmojiUsed(step.mid(1)));
            } else if (step.startsWith('=')) {
                editor.setText(step.mid(1));
                Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(
                    &editor, account, true);
            } else if (step == "<Backspace>") {
                // An emoji is one character to the user: the image is not taken back into text.
                QVERIFY(!Glyphmorpher::m_pInstance->revertEmoticonBeforeCursor(&editor));
                editor.textCursor().deletePreviousChar();
            } else {
                typed(editor, { step });
            }
        }
        QCOMPARE(notation(editor.document()), content);
        QCOMPARE(preferences.recentEmoji(), recent);
        // The theme draws every image, a toned emoji's too, and the images are sent as their codes.
        for (const QString &imageAt : content.split('@').mid(1))
            QCOMPARE(QImage(imageAt.section('}', 0, 0)).size(), QSize(20, 20));
        QCOMPARE(Glyphmorpher::m_pInstance->transformTextEditContentToPlainText(&editor),
            readPositions(editor.document(), 0, INT_MAX, Separation::AfterSpaceOrImage, false));
    }

    // A theme's classic emoticons are pictures, not emoji.
    void classicEmoticonsCountNoUse()
    {
        MGConfItem(currentKey).set(defaultUUID);
        QTRY_COMPARE(EmoticonThemeManager::m_pInstance->themeForAccountPath(account).themeUUID(),
            defaultUUID);
        MTextEdit editor;
        const QString notation = typed(editor, codePoints("hi :) <3"));
        MGConfItem(currentKey).set(emojiUUID);
        QCOMPARE(notation.count('{'), 2);
        QCOMPARE(preferences.recentEmoji(), QStringList());
        QTRY_COMPARE(
            EmoticonThemeManager::m_pInstance->themeForAccountPath(account).themeUUID(), emojiUUID);
    }

    // Every emoji's image copies as the sequence it stands for, from either kind of editor.
    void everyEmojiCopiesAsItsSequence()
    {
        Window window;
        QVERIFY(window.focus());
        ChatEdit widgetEdit;
        const EmojiData data;
        QStringList wrong;
        int fullyQualified = 0;
        for (const QString &sequence : data.sequences()) {
            if (!emoji.engine()->emoji.sequences.contains(sequence))
                continue;
            fullyQualified += data.qualification(sequence) == EmojiData::FullyQualified;
            const QString oneImage(QChar::ObjectReplacementCharacter);

            window.edit->setText(sequence);
            emoji.tree->performCharacterCode2EmoticonReplacement(window.edit, true);
            window.selectAll();
            QApplication::clipboard()->clear();
            QTest::keySequence(&window.view, QKeySequence::Copy);
            if (window.edit->text() != oneImage || QApplication::clipboard()->text() != sequence)
                wrong += "MTextEdit " + sequence;

            widgetEdit.setPlainText(sequence);
            TextEditorAccess access(&widgetEdit);
            emoji.engine()->performCharacterCode2EmoticonReplacement(access, true);
            widgetEdit.selectAll();
            QApplication::clipboard()->clear();
            widgetEdit.copy();
            if (widgetEdit.toPlainText() != oneImage
                || QApplication::clipboard()->text() != sequence)
                wrong += "QTextEdit " + sequence;
        }
        QCOMPARE(wrong, QStringList());
        QVERIFY2(fullyQualified >= 3655, qPrintable(QString::number(fullyQualified)));
    }

    // Copy and cut by key and by the context menu: images as their codes, the same text as
    // is sent; a read-only editor copies but does not cut.
    void copyAndCut_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("left");
        const QString copied = QStringLiteral("i :) 👍🏽o");
        const QChar image = QChar::ObjectReplacementCharacter;
        const QString all = QStringLiteral("hi") + image + QLatin1Char(' ') + image + "ok";
        QTest::newRow("copy key") << "Ctrl+C" << false << copied << all;
        QTest::newRow("cut key") << "Ctrl+X" << false << copied << "hk";
        QTest::newRow("copy key, read-only") << "Ctrl+C" << true << copied << all;
        QTest::newRow("cut key, read-only") << "Ctrl+X" << true << "before" << all;
        QTest::newRow("menu copy") << "edit-copy" << false << copied << all;
        QTest::newRow("menu cut") << "edit-cut" << false << copied << "hk";
        QTest::newRow("menu copy, read-only") << "edit-copy" << true << copied << all;
    }

    void copyAndCut()
    {
        QFETCH(QString, how);
        QFETCH(bool, readOnly);
        QFETCH(QString, clipboard);
        QFETCH(QString, left);
        Window window;
        QVERIFY(window.focus());
        QTextCursor cursor = window.edit->textCursor();
        for (const QString piece : { "hi", "{:)", " ", "{👍🏽", "ok" }) {
            QTextImageFormat image; // "{CODE" is an image
            image.setName("test:" + piece);
            image.setProperty(QTextFormat::UserProperty, piece.mid(1));
            piece.startsWith('{') ? cursor.insertImage(image) : cursor.insertText(piece);
        }
        window.edit->setReadOnly(readOnly);
        window.select(1, 6);
        QApplication::clipboard()->setText("before");

        if (how.startsWith("edit-")) {
            // The offscreen platform says so of every popup.
            QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
            QTest::ignoreMessage(
                QtWarningMsg, "This plugin does not support grabbing the keyboard");
            QMenu *menu = window.openContextMenu();
            QVERIFY(menu);
            QAction *action = menu->findChild<QAction *>(how);
            QVERIFY(action);
            action->trigger();
            menu->close();
        } else {
            QTest::keySequence(&window.view, QKeySequence(how));
        }
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(QApplication::clipboard()->mimeData()->formats(), QStringList { "text/plain" });
        QCOMPARE(window.edit->text(), left);
    }

    // Emoji pasted as text become images again, in either kind of editor, and what one editor
    // copies the other takes as the same images.
    void pastedEmojiBecomeImages()
    {
        const QString pasted = QStringLiteral("ok 👍🏽👨‍👩‍👧🇩🇪 :heart: ok");
        const QString images = "ok " + image("👍🏽") + image("👨‍👩‍👧") + image("🇩🇪")
            + " " + image("❤️") + " ok";
        Window window;
        QVERIFY(window.focus());
        QApplication::clipboard()->setText(pasted);
        edited(*window.edit, [&] { QTest::keySequence(&window.view, QKeySequence::Paste); });
        QCOMPARE(notation(window.edit->document()), images);

        window.selectAll();
        QTest::keySequence(&window.view, QKeySequence::Copy);
        const QString sent
            = Glyphmorpher::m_pInstance->transformTextEditContentToPlainText(window.edit);
        QCOMPARE(sent, QStringLiteral("ok 👍🏽👨‍👩‍👧🇩🇪 ❤️ ok"));
        QCOMPARE(QApplication::clipboard()->text(), sent);
        ChatEdit widgetEdit;
        edited(widgetEdit, [&] { widgetEdit.paste(); });
        QCOMPARE(notation(widgetEdit.document()), images);
    }
};

GLYPHMORPH_TEST_MAIN(EmojiEditorTest)
#include "emojieditortest.moc"
