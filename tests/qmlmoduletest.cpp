// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The QML module from the build tree, offscreen: the Emoticons singleton, EmoticonReplacer on a
// TextEdit, EmoticonPicker, and EmojiPicker by mouse and keyboard.
#include "editormodel.h"
#include "qmlwarnings.h"
#include "testenvironment.h"

#include <emojidata.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>

#include <QAbstractItemModel>
#include <QAccessible>
#include <QJSValue>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickTextDocument>
#include <QQuickWindow>

using GlyphmorphTest::positionNotation;

namespace {

const char Scene[] = R"(
import QtQuick 2.12
import Glyphmorph 1.0
Item {
    width: 620; height: 300
    function html(text) { return Emoticons.toHtml(text) }
    function plain(html) { return Emoticons.toPlainText(html) }
    function emojiName(sequence, locale) { return Emoticons.emojiName(sequence, locale) }
    function searchEmoji(query, locale, limit) { return Emoticons.searchEmoji(query, locale, limit) }
    function search(query) { return Emoticons.searchEmoji(query) }
    function completeShortcode(prefix) { return Emoticons.completeShortcode(prefix) }
    function noteEmojiUsed(emoji) { Emoticons.noteEmojiUsed(emoji) }
    function clearRecentEmoji() { Emoticons.clearRecentEmoji() }
    function setSkinTone(tone) { Emoticons.skinTone = tone }
    property var recentEmoji: Emoticons.recentEmoji
    property int skinTone: Emoticons.skinTone
    property alias edit: edit
    property alias replacer: replacer
    property alias picker: picker
    property alias emojiPicker: emojiPicker
    property var themes: Emoticons.themes
    TextEdit { id: edit; width: 300; height: 60 }
    EmoticonReplacer { id: replacer; document: edit.textDocument }
    EmoticonPicker { id: picker; y: 60; width: 288; height: 240; cellSize: 48 }
    EmojiPicker { id: emojiPicker; x: 300; width: 320; height: 300; cellSize: 40; locale: "en" }
}
)";

} // namespace

class QmlModuleTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QQmlEngine *m_engine = nullptr;
    QQuickWindow *m_window = nullptr;
    QObject *m_scene = nullptr;
    EmoticonTheme m_theme;

    QObject *child(const char *name) const { return m_scene->property(name).value<QObject *>(); }
    // Calls the scene's QML function @p name on @p argument.
    QVariant callWith(const char *name, const QVariant &argument) const
    {
        QVariant result;
        QMetaObject::invokeMethod(
            m_scene, name, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, argument));
        return plain(result);
    }
    // A JavaScript array or object arrives as a QJSValue.
    static QVariant plain(const QVariant &value)
    {
        return value.userType() == qMetaTypeId<QJSValue>() ? value.value<QJSValue>().toVariant()
                                                           : value;
    }
    QString call(const char *name, const QString &text) const
    {
        return callWith(name, text).toString();
    }
    // The first of the {emoji, shortcode, name} maps that @p name gives for @p argument.
    QVariantMap firstEmoji(const char *name, const QString &argument) const
    {
        return callWith(name, argument).toList().value(0).toMap();
    }
    QString path(const char *code) const
    {
        return m_theme.codeSequenceToFilepathMapping().value(QLatin1String(code));
    }
    QTextDocument *document() const
    {
        return child("edit")
            ->property("textDocument")
            .value<QQuickTextDocument *>()
            ->textDocument();
    }

private Q_SLOTS:
    void initTestCase()
    {
        GlyphmorphTest::recordQmlWarnings();
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_root.path()));
        QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
        m_engine = new QQmlEngine(this);
        m_engine->addImportPath(QStringLiteral(GLYPHMORPH_QML_IMPORT_PATH));
        QQmlComponent component(m_engine);
        // A base URL of its own: the TextEdit's document resolves image names against it.
        component.setData(Scene, QUrl::fromLocalFile(m_root.path() + "/scene.qml"));
        m_scene = component.create();
        QVERIFY2(m_scene, qPrintable(component.errorString()));
        m_theme = EmoticonThemeManager::m_pInstance->themeForAccountPath(QString());
        QVERIFY(!path(":)").isEmpty());
        m_window = new QQuickWindow;
        qobject_cast<QQuickItem *>(m_scene)->setParentItem(m_window->contentItem());
        m_window->resize(620, 300);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanupTestCase()
    {
        delete m_window;
        delete m_scene;
        const QStringList &warnings = GlyphmorphTest::qmlWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

    // The pair undoes itself: the HTML carries each code, escaped, in its tags.
    void textConversions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("codes") << "Hi :) <3";
        QTest::newRow("markup and entities") << "<b>:)</b> &amp; 'x' \"y\"";
        QTest::newRow("line ends") << "a :)\r\nb\n\n<3\r";
        QTest::newRow("no code") << "plain";
    }

    void textConversions()
    {
        QFETCH(QString, text);
        const QString html = call("html", text);
        QVERIFY2(!html.contains('<') || html.contains("<img src='"), qPrintable(html));
        QCOMPARE(call("plain", html), text);
    }

    void htmlTagsCarryTheirCode()
    {
        const QString html = call("html", "I <3 it");
        QVERIFY2(html.startsWith("I <img src='" + path("<3") + "'"), qPrintable(html));
        QVERIFY2(html.contains(" alt='&lt;3'"), qPrintable(html));
        QCOMPARE(call("plain", "a <img src='/x.png' alt=':)' width='20' height='20'><br>b"),
            QStringLiteral("a :)\nb"));
    }

    void emojiNamesAndSearch()
    {
        QVariant name;
        QMetaObject::invokeMethod(m_scene, "emojiName", Q_RETURN_ARG(QVariant, name),
            Q_ARG(QVariant, QStringLiteral("👍")), Q_ARG(QVariant, QStringLiteral("de")));
        QCOMPARE(name.toString(), QStringLiteral("Daumen hoch"));
        QVariant found;
        QMetaObject::invokeMethod(m_scene, "searchEmoji", Q_RETURN_ARG(QVariant, found),
            Q_ARG(QVariant, QStringLiteral("DÄUMEN")), Q_ARG(QVariant, QStringLiteral("de")),
            Q_ARG(QVariant, 1));
        const QVariantList list = plain(found).toList();
        QCOMPARE(list.size(), 1);
        const QVariantMap thumbsUp { { "emoji", QStringLiteral("👍") }, { "shortcode", "+1" },
            { "name", QStringLiteral("Daumen hoch") } };
        QCOMPARE(list.first().toMap(), thumbsUp);
    }

    // Completion, recent emoji and the skin tone, each change seen by QML bindings.
    void emojiPreferences()
    {
        QCOMPARE(callWith("completeShortcode", "t").toList(), QVariantList());
        QVariantMap first = firstEmoji("completeShortcode", ":thu");
        QCOMPARE(first.value("emoji").toString(), QStringLiteral("👍"));
        QCOMPARE(first.value("shortcode").toString(), QStringLiteral("thumbsup"));
        QCOMPARE(first.value("name").toString(), EmojiData().emojiName(QStringLiteral("👍")));
        QCOMPARE(callWith("completeShortcode", "sm").toList().size(), 10);

        QCOMPARE(m_scene->property("skinTone").toInt(), 0);
        callWith("setSkinTone", 3);
        QTRY_COMPARE(m_scene->property("skinTone").toInt(), 3);
        QCOMPARE(firstEmoji("completeShortcode", "thu").value("emoji").toString(),
            QStringLiteral("👍🏽"));
        QCOMPARE(firstEmoji("search", "thumbs up").value("emoji").toString(),
            QStringLiteral("👍🏽"));

        QCOMPARE(m_scene->property("recentEmoji").toStringList(), QStringList());
        callWith("noteEmojiUsed", QStringLiteral("👎"));
        QTRY_COMPARE(
            m_scene->property("recentEmoji").toStringList(), QStringList { QStringLiteral("👎") });
        first = firstEmoji("completeShortcode", "thu");
        QCOMPARE(first.value("emoji").toString(), QStringLiteral("👎🏽"));
        QCOMPARE(first.value("shortcode").toString(), QStringLiteral("thumbsdown"));
        QVERIFY(QMetaObject::invokeMethod(m_scene, "clearRecentEmoji"));
        QTRY_COMPARE(m_scene->property("recentEmoji").toStringList(), QStringList());
        callWith("setSkinTone", 0);
        QTRY_COMPARE(m_scene->property("skinTone").toInt(), 0);
    }

    // Text put in as the TextEdit puts typed and pasted text in; a picked emoticon at its cursor.
    void replacerOnTextEdit()
    {
        QObject *edit = child("edit");
        QObject *replacer = child("replacer");
        for (const QString &piece :
            { QStringLiteral("hi :-"), QStringLiteral(")"), QStringLiteral(" x:) <3") }) {
            const int end = edit->property("length").toInt();
            QVERIFY(
                QMetaObject::invokeMethod(edit, "insert", Q_ARG(int, end), Q_ARG(QString, piece)));
        }
        QCOMPARE(positionNotation(document()),
            QStringLiteral("hi {:-)@%1} x:) {<3@%2}\u2029").arg(path(":-)"), path("<3")));
        QCOMPARE(edit->property("cursorPosition").toInt(), document()->characterCount() - 1);
        // The TextEdit draws the images from the document's resources, under resolved names.
        const QVariant heart = document()->resource(QTextDocument::ImageResource, QUrl(path("<3")));
        QVERIFY(!heart.value<QImage>().isNull());

        QVERIFY(QMetaObject::invokeMethod(replacer, "insertEmoticon", Q_ARG(int, 2),
            Q_ARG(QString, QStringLiteral(";)")), Q_ARG(QString, path(";)"))));
        QString plain;
        QVERIFY(QMetaObject::invokeMethod(replacer, "plainText", Q_RETURN_ARG(QString, plain)));
        QCOMPARE(plain, QStringLiteral("hi ;) :-) x:) <3"));
    }

    // The library's two-column table as roles of one column.
    void themeList()
    {
        auto *themes = qobject_cast<QAbstractItemModel *>(child("themes"));
        // The built-in theme and the Emoji theme.
        QCOMPARE(themes->rowCount(), 2);
        const auto roleOf = [themes](int row, const char *name) {
            return themes->index(row, 0).data(themes->roleNames().key(name)).toString();
        };
        const int row = roleOf(0, "uuid") == m_theme.themeUUID() ? 0 : 1;
        const auto role = [&roleOf, row](const char *name) {
            return roleOf(row, name);
        };
        QCOMPARE(role("name"), m_theme.themeName());
        QCOMPARE(role("uuid"), m_theme.themeUUID());
        QCOMPARE(role("preview"), "image://glyphmorph/" + m_theme.previewPixmapName());
    }

    void pickerShowsTheThemeAndTellsTheChoice()
    {
        QObject *picker = child("picker");
        QCOMPARE(picker->property("count").toInt(), m_theme.filePathToCodeSequenceMapping().size());
        QSignalSpy chosen(picker, SIGNAL(chosen(QString, QString)));
        // The second cell: the emoticon at position 1.
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(48 + 24, 60 + 24));
        QCOMPARE(chosen.count(), 1);
        const QString code = m_theme.codeSequenceToPriorityMapping().key(QStringLiteral("1"));
        QCOMPARE(chosen.at(0).at(0).toString(), code);
        // The image path as the library's own picker gives it.
        QCOMPARE(
            m_theme.filePathToCodeSequenceMapping().value(chosen.at(0).at(1).toString()), code);
    }

    // Cells are folded, sections follow emoji-test.txt, typing searches, Return picks.
    void emojiPickerSearchAndPick()
    {
        QObject *picker = child("emojiPicker");
        auto *model = picker->property("model").value<QAbstractItemModel *>();
        QCOMPARE(model->property("section").toInt(), 1);
        QCOMPARE(
            model->property("sections").toStringList().at(1), QStringLiteral("Smileys & Emotion"));
        QCOMPARE(model->index(0, 0).data(model->roleNames().key("emoji")).toString(),
            QStringLiteral("😀"));
        QSignalSpy chosen(picker, SIGNAL(chosen(QString)));
        qobject_cast<QQuickItem *>(picker)->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Right);
        QCOMPARE(picker->property("currentIndex").toInt(), 1);
        for (char c : QByteArray("thumbs up"))
            QTest::keyClick(m_window, c);
        QCOMPARE(picker->property("searchText").toString(), QStringLiteral("thumbs up"));
        QCOMPARE(model->index(0, 0).data(model->roleNames().key("emoji")).toString(),
            QStringLiteral("👍"));
        QTest::keyClick(m_window, Qt::Key_Return);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("👍"));
        // Escape clears the search, then asks to close.
        QSignalSpy closing(picker, SIGNAL(closeRequested()));
        QTest::keyClick(m_window, Qt::Key_Escape);
        QVERIFY(picker->property("searchText").toString().isEmpty());
        QCOMPARE(closing.count(), 0);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QCOMPARE(closing.count(), 1);
    }

    void emojiPickerKeys_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("index");
        const int columns = 8;
        const int page = columns * 5;
        QTest::newRow("down right") << QList<int> { Qt::Key_Down, Qt::Key_Right } << columns + 1;
        QTest::newRow("end home") << QList<int> { Qt::Key_End, Qt::Key_Home } << 0;
        QTest::newRow("page down") << QList<int> { Qt::Key_PageDown } << page;
        QTest::newRow("page down up") << QList<int> { Qt::Key_PageDown, Qt::Key_PageUp } << 0;
    }

    void emojiPickerKeys()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, index);
        QObject *picker = child("emojiPicker");
        qobject_cast<QQuickItem *>(picker)->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Home);
        for (int key : keys)
            QTest::keyClick(m_window, Qt::Key(key));
        QCOMPARE(picker->property("currentIndex").toInt(), index);
    }

    // Space opens the variants of the cell, Escape goes back to it; the cells' accessible names
    // are the emoji's names, with the tone picked.
    void emojiPickerVariantsAndNames()
    {
        QObject *picker = child("emojiPicker");
        auto *model = picker->property("model").value<QAbstractItemModel *>();
        model->setProperty("section", 2);
        qobject_cast<QQuickItem *>(picker)->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Home);
        QTest::keyClick(m_window, Qt::Key_Space);
        QCOMPARE(model->property("variantsOf").toString(), QStringLiteral("👋"));
        QCOMPARE(model->rowCount(), 6);
        QTest::keyClick(m_window, Qt::Key_Right);
        QSignalSpy chosen(picker, SIGNAL(chosen(QString)));
        QTest::keyClick(m_window, Qt::Key_Return);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("👋🏻"));
        QTest::keyClick(m_window, Qt::Key_Escape);
        QVERIFY(model->property("variantsOf").toString().isEmpty());
        QCOMPARE(picker->property("currentIndex").toInt(), 0);
        QStringList names;
        // Delegates are the grid's visual children, not its QObject children.
        QList<QQuickItem *> items { qobject_cast<QQuickItem *>(picker) };
        while (!items.isEmpty()) {
            QQuickItem *item = items.takeFirst();
            items += item->childItems();
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(item);
            if (accessible && accessible->role() == QAccessible::Button)
                names << accessible->text(QAccessible::Name);
        }
        // The cell shows the tone just picked among its variants.
        QVERIFY2(names.contains(QStringLiteral("waving hand: light skin tone")),
            qPrintable(names.join(", ")));
        QVERIFY(names.contains(QStringLiteral("raised hand")));
    }

    // The tone chooser as in the Widgets picker: six tones by name, the current one current, a
    // pick sets the default tone and inserts nothing, Escape changes nothing, and the focus goes
    // back where it was.
    void emojiPickerToneChooser_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("close");
        QTest::addColumn<int>("after");
        QTest::newRow("click; arrows and Return pick") << "en" << 0 << "grid"
                                                       << "click"
                                                       << "Space Right Right Right Return" << 3;
        QTest::newRow("Ctrl+T in the search field, German; a click picks") << "de" << 5 << "search"
                                                                           << "Ctrl+T"
                                                                           << "click:3" << 3;
        QTest::newRow("Ctrl+T in the grid; Escape") << "en" << 2 << "grid"
                                                    << "Ctrl+T"
                                                    << "Right Escape" << 2;
        QTest::newRow("Return on the button; Ctrl+T closes") << "en" << 4 << "button"
                                                             << "Return"
                                                             << "Left Ctrl+T" << 4;
        QTest::newRow("Space on the button; the button again closes") << "en" << 1 << "button"
                                                                      << "Space"
                                                                      << "click:button" << 1;
    }

    void emojiPickerToneChooser()
    {
        QFETCH(QString, locale);
        QFETCH(int, before);
        QFETCH(QString, from);
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(int, after);
        auto *picker = qobject_cast<QQuickItem *>(child("emojiPicker"));
        auto *model = picker->property("model").value<QAbstractItemModel *>();
        const auto emojiAt = [model](int row, const char *role = "emoji") {
            return model->index(row, 0).data(model->roleNames().key(role)).toString();
        };
        QQuickItem *grid = nullptr;
        QQuickItem *button = nullptr;
        QList<QQuickItem *> items { picker };
        while (!items.isEmpty()) {
            QQuickItem *item = items.takeFirst();
            items += item->childItems();
            if (item->inherits("QQuickGridView"))
                grid = item;
            else if (item->activeFocusOnTab())
                button = item;
        }
        QVERIFY(grid && button);
        // Where a click on the tone button or on a grid cell of the 40-pixel grid lands.
        const auto click = [this, picker](QQuickItem *item, int cell = 0) {
            const QPointF at = item == picker ? QPointF(20 + cell % 8 * 40, 100 + cell / 8 * 40)
                                              : QPointF(20, 20);
            QTest::mouseClick(m_window, Qt::LeftButton, {}, item->mapToScene(at).toPoint());
        };
        const auto keys = [this, &click, picker, button](const QString &sequence) {
            for (const QString &key : sequence.split(' ')) {
                if (key == "Ctrl+T")
                    QTest::keyClick(m_window, Qt::Key_T, Qt::ControlModifier);
                else if (key == "click" || key == "click:button")
                    click(button);
                else if (key.startsWith("click:"))
                    click(picker, key.mid(6).toInt());
                else
                    QTest::keyClick(m_window,
                        QHash<QString, Qt::Key> { { "x", Qt::Key_X },
                            { "Backspace", Qt::Key_Backspace }, { "Space", Qt::Key_Space },
                            { "Right", Qt::Key_Right }, { "Left", Qt::Key_Left },
                            { "Return", Qt::Key_Return }, { "Escape", Qt::Key_Escape } }
                            .value(key));
            }
        };

        picker->setProperty("locale", locale);
        model->setProperty("skinTone", before);
        QTRY_COMPARE(model->property("skinTone").toInt(), before);
        model->setProperty("section", 2);
        const int sectionCount = model->rowCount();
        grid->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Home);
        if (from == "grid")
            QTest::keyClick(m_window, Qt::Key_Right);
        else if (from == "button")
            button->forceActiveFocus();
        else // typing moves the focus to the search field
            keys("x Backspace");
        // The grid gives the focus on to its current cell.
        const auto focused = [this, grid, button] {
            QQuickItem *item = m_window->activeFocusItem();
            return grid->hasActiveFocus()                   ? QStringLiteral("grid")
                : item == button                            ? QStringLiteral("button")
                : item && item->inherits("QQuickTextInput") ? QStringLiteral("search")
                                                            : QString();
        };
        QCOMPARE(focused(), from);
        QSignalSpy chosen(picker, SIGNAL(chosen(QString)));
        keys(open);

        QVERIFY(model->property("choosingSkinTone").toBool());
        const QStringList tones = { "✋", "✋🏻", "✋🏼", "✋🏽", "✋🏾", "✋🏿" };
        const QStringList names = locale == "de"
            ? QStringList { "no skin tone", "helle Hautfarbe", "mittelhelle Hautfarbe",
                  "mittlere Hautfarbe", "mitteldunkle Hautfarbe", "dunkle Hautfarbe" }
            : QStringList { "no skin tone", "light skin tone", "medium-light skin tone",
                  "medium skin tone", "medium-dark skin tone", "dark skin tone" };
        QCOMPARE(model->rowCount(), 6);
        for (int row = 0; row < 6; ++row) {
            QCOMPARE(emojiAt(row), tones.at(row));
            QCOMPARE(emojiAt(row, "name"), names.at(row));
            QCOMPARE(emojiAt(row, "variantCount"), QStringLiteral("1"));
        }
        // The cells as assistive technology reads them, in the grid's order.
        QMap<QPair<qreal, qreal>, QString> cells;
        items = grid->childItems();
        while (!items.isEmpty()) {
            QQuickItem *item = items.takeFirst();
            items += item->childItems();
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(item);
            if (item->isVisible() && accessible && accessible->role() == QAccessible::Button) {
                const QPointF at = item->mapToItem(grid, QPointF());
                cells.insert({ at.y(), at.x() }, accessible->text(QAccessible::Name));
            }
        }
        QCOMPARE(cells.values(), names);
        QCOMPARE(picker->property("currentIndex").toInt(), before);
        QCOMPARE(focused(), QStringLiteral("grid"));

        keys(close);
        QVERIFY(!model->property("choosingSkinTone").toBool());
        QCOMPARE(model->rowCount(), sectionCount);
        QCOMPARE(focused(), from);
        if (from == "grid")
            QCOMPARE(picker->property("currentIndex").toInt(), 1);
        QTRY_COMPARE(model->property("skinTone").toInt(), after);
        // 🤚, the second cell, shows the tone.
        const QString backOfHand = QStringLiteral("🤚");
        QTRY_COMPARE(emojiAt(1),
            after == 0 ? backOfHand : EmojiData().skinToneVariants(backOfHand).at(after - 1));
        QCOMPARE(chosen.count(), 0);
        picker->setProperty("locale", QStringLiteral("en"));
        model->setProperty("skinTone", 0);
    }
};

GLYPHMORPH_TEST_MAIN(QmlModuleTest)
#include "qmlmoduletest.moc"
