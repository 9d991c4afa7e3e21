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

// @p edit changes the editor as a key press or a paste would; the walk runs after it, told of
// the change as an application tells it.
template<typename Editor>
void edited(Editor &editor, const std::function<void()> &edit, const std::function<void()> &walk)
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
    walk();
}

// The content, every image as "{code@path}".
QString notation(const QTextDocument *document)
{
    QString notation = positionNotation(document);
    notation.chop(1); // the document's final paragraph separator
    return notation;
}

// Each piece goes in as one edit, and @p walk runs after it.
template<typename Editor>
QString typed(Editor &editor, const QStringList &pieces, const std::function<void()> &walk)
{
    for (const QString &piece : pieces) {
        edited(
            editor,
            [&] {
                QTextCursor cursor = editor.textCursor();
                cursor.insertText(piece);
                editor.setTextCursor(cursor);
            },
            walk);
    }
    return notation(editor.document());
}

QString typed(EmojiTree &emoji, MTextEdit &editor, const QStringList &pieces)
{
    return typed(editor, pieces,
        [&] { emoji.tree->performCharacterCode2EmoticonReplacement(&editor, false); });
}

// Through the library, with the account's theme: the Emoji theme.
template<typename Editor> void walkWithTheme(Editor &editor)
{
    Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(&editor, account, false);
}

template<typename Editor> QString typedWithTheme(Editor &editor, const QStringList &pieces)
{
    return typed(editor, pieces, [&] { walkWithTheme(editor); });
}

QStringList codePoints(const QString &text)
{
    QStringList pieces;
    for (const auto c : text.toUcs4()) {
        const char32_t codePoint = c;
        pieces += QString::fromUcs4(&codePoint, 1);
    }
    return pieces;
}

QString image(const QString &emoji, const QString &path = QString())
{
    return '{' + emoji + "@/" + (path.isNull() ? emoji : path) + '}';
}

// The Emoji theme's image file of @p emoji.
QString themeImagePath(const QString &emoji)
{
    return EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absoluteFilePath(
        "emoji/" + EmojiImages::fileName(emoji));
}

QString themeImage(const QString &emoji)
{
    return '{' + emoji + '@' + themeImagePath(emoji) + '}';
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

// The sequences the Emoji theme has codes for: all but components and a lone code point that
// is text unless U+FE0F follows it.
bool isThemeCode(const EmojiData &data, const QString &sequence)
{
    const EmojiData::Qualification qualification = data.qualification(sequence);
    return qualification != EmojiData::Component
        && !(qualification == EmojiData::Unqualified && sequence.toUcs4().size() == 1);
}

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

    void typing_data()
    {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QString>("notation");
        const QString thumbs = QStringLiteral("\U0001F44D");
        const QString toned = QStringLiteral("\U0001F44D\U0001F3FD");
        const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
        QTest::newRow("inside a word, code point by code point")
            << codePoints("great" + thumbs + thumbs) << "great" + image(thumbs) + image(thumbs);
        QTest::newRow("a joined sequence grows into one image")
            << codePoints(family) << image(family);
        QTest::newRow("a tone joins the image before it")
            << codePoints("ok " + toned) << "ok " + image(toned);
        QTest::newRow("pasted with tones") << QStringList { "a" + toned + toned + " b" }
                                           << "a" + image(toned) + image(toned) + " b";
        // A typed shortcode is sent as its emoji, and grows with a tone like one.
        QTest::newRow("shortcode reads back as the emoji")
            << codePoints(":thumbsup: ") << image(thumbs, ":thumbsup:") + " ";
        QTest::newRow("shortcode takes a tone")
            << codePoints(":thumbsup:\U0001F3FD") << image(toned);
        const QString unknown = QStringLiteral("a\U0001F468\u200D\U0001F9B0\u200D\U0001F9B0b");
        QTest::newRow("unknown joined sequence stays text") << QStringList { unknown } << unknown;
        QTest::newRow("shortcode inside a word stays text")
            << codePoints("x:thumbsup: ") << "x:thumbsup: ";
        QTest::newRow("text-default character after FE0F")
            << codePoints(QStringLiteral("\u00A9 x\u263A\uFE0F"))
            << QStringLiteral("\u00A9 x") + image(QStringLiteral("\u263A\uFE0F"));
    }

    void typing()
    {
        QFETCH(QStringList, pieces);
        QFETCH(QString, notation);
        MTextEdit editor;
        QCOMPARE(typed(emoji, editor, pieces), notation);
    }

    // An emoji is one character to the user: the image is not taken back into text first.
    void backspaceRemovesTheWholeEmoji()
    {
        MTextEdit editor;
        typed(emoji, editor, codePoints(QStringLiteral("ok\U0001F44D\U0001F3FD")));
        Glyphmorpher morpher;
        QVERIFY(!morpher.revertEmoticonBeforeCursor(&editor));
        // What the editor's Backspace does.
        QTextCursor cursor = editor.textCursor();
        cursor.deletePreviousChar();
        QCOMPARE(editor.document()->toPlainText(), QStringLiteral("ok"));
    }

    // A shortcode names the emoji in the user's skin tone; an emoji written out stays as written.
    void shortcodeTakesTheUsersSkinTone_data()
    {
        QTest::addColumn<int>("tone");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("emoji");
        const auto row = [](const char *name, int tone, const QString &choice, const QString &text,
                             const QString &emoji) {
            QTest::newRow(name) << tone << choice << text << emoji;
        };
        row("no tone", 0, "", ":thumbsup:", "👍");
        row("default tone", 3, "", ":thumbsup:", "👍🏽");
        row("the emoji's own choice over the default", 3, "👍🏿", ":thumbsup:", "👍🏿");
        row("another emoji's choice", 0, "👋🏻", ":thumbsup:", "👍");
        row("no tone variants", 3, "", ":heart:", "❤️");
        row("two people", 5, "", ":couple:", "👫🏿");
        row("an emoji typed keeps no tone", 3, "", "👍", "👍");
        row("an emoji typed keeps its tone", 3, "👍🏿", "👍🏻", "👍🏻");
    }

    void shortcodeTakesTheUsersSkinTone()
    {
        QFETCH(int, tone);
        QFETCH(QString, choice);
        QFETCH(QString, text);
        QFETCH(QString, emoji);
        QVERIFY(preferences.setSkinTone(tone));
        if (!choice.isEmpty())
            QVERIFY(preferences.setSkinToneChoice(choice));
        MTextEdit editor;
        QCOMPARE(typedWithTheme(editor, codePoints(text)), themeImage(emoji));
        // The theme draws the toned emoji's image as it draws any.
        QCOMPARE(QImage(themeImagePath(emoji)).size(), QSize(20, 20));
        QCOMPARE(Glyphmorpher::m_pInstance->transformTextEditContentToPlainText(&editor), emoji);
    }

    // Each emoji the user types counts once as used, as the emoji its image finally became.
    // A step "+EMOJI" is a use noted elsewhere (a picker) between two edits.
    void typedEmojiCountAsUsed_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("recent");
        const QString family = QStringLiteral("👨‍👩‍👧");
        QTest::newRow("shortcode") << codePoints(":heart:") << QStringList { "❤️" };
        QTest::newRow("tone typed after the emoji")
            << QStringList { "👍", "🏽" } << QStringList { "👍🏽" };
        QTest::newRow("joined sequence code point by code point")
            << codePoints(family) << QStringList { family };
        QTest::newRow("tone typed after a shortcode")
            << codePoints(":thumbsup:🏽") << QStringList { "👍🏽" };
        QTest::newRow("pasted run") << QStringList { "a👍🎉 b" } << QStringList { "🎉", "👍" };
        QTest::newRow("emoji after one that could grow")
            << QStringList { "👍", "🎉" } << QStringList { "🎉", "👍" };
        QTest::newRow("the same emoji after a grown one")
            << QStringList { "👍", "🏽", "👍" } << QStringList { "👍", "👍🏽" };
        QTest::newRow("a use noted in between stays, and so does the earlier form")
            << QStringList { "👍", "+🎉", "🏽" } << QStringList { "👍🏽", "🎉", "👍" };
        QTest::newRow("no emoji") << codePoints("hi :-) :nonsense:") << QStringList {};
    }

    void typedEmojiCountAsUsed()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, recent);
        MTextEdit editor;
        for (const QString &step : steps) {
            if (step.startsWith('+') && step.size() > 1)
                QVERIFY(preferences.noteEmojiUsed(step.mid(1)));
            else
                typedWithTheme(editor, { step });
        }
        QCOMPARE(preferences.recentEmoji(), recent);
    }

    // A pass over the whole content, after a theme change, makes images of what was there.
    void wholeDocumentCountsNoUse()
    {
        MTextEdit editor;
        editor.setText(QStringLiteral("👍 :heart: 👨‍👩‍👧"));
        Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(
            &editor, account, true);
        QCOMPARE(editor.document()->toPlainText().count(QChar::ObjectReplacementCharacter), 3);
        QCOMPARE(preferences.recentEmoji(), QStringList());
    }

    // A theme's classic emoticons are pictures, not emoji.
    void classicEmoticonsCountNoUse()
    {
        MGConfItem(currentKey).set(defaultUUID);
        QTRY_COMPARE(EmoticonThemeManager::m_pInstance->themeForAccountPath(account).themeUUID(),
            defaultUUID);
        MTextEdit editor;
        const QString notation = typedWithTheme(editor, codePoints("hi :) <3"));
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
            if (!isThemeCode(data, sequence))
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
        cursor.insertText("hi");
        QTextImageFormat smile;
        smile.setName("test:smile");
        smile.setProperty(QTextFormat::UserProperty, ":)");
        cursor.insertImage(smile);
        cursor.insertText(" ");
        QTextImageFormat thumbs;
        thumbs.setName("test:thumbs");
        thumbs.setProperty(QTextFormat::UserProperty, QStringLiteral("👍🏽"));
        cursor.insertImage(thumbs);
        cursor.insertText("ok");
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
        const QString images = "ok " + themeImage("👍🏽") + themeImage("👨‍👩‍👧")
            + themeImage("🇩🇪") + " " + themeImage("❤️") + " ok";
        Window window;
        QVERIFY(window.focus());
        QApplication::clipboard()->setText(pasted);
        const auto paste = [&] {
            QTest::keySequence(&window.view, QKeySequence::Paste);
        };
        edited(*window.edit, paste, [&] { walkWithTheme(*window.edit); });
        QCOMPARE(notation(window.edit->document()), images);

        window.selectAll();
        QTest::keySequence(&window.view, QKeySequence::Copy);
        const QString sent
            = Glyphmorpher::m_pInstance->transformTextEditContentToPlainText(window.edit);
        QCOMPARE(sent, QStringLiteral("ok 👍🏽👨‍👩‍👧🇩🇪 ❤️ ok"));
        QCOMPARE(QApplication::clipboard()->text(), sent);
        ChatEdit widgetEdit;
        edited(
            widgetEdit, [&] { widgetEdit.paste(); }, [&] { walkWithTheme(widgetEdit); });
        QCOMPARE(notation(widgetEdit.document()), images);
    }
};

GLYPHMORPH_TEST_MAIN(EmojiEditorTest)
#include "emojieditortest.moc"
