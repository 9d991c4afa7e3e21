// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The QML module from the build tree, offscreen: the Emoticons singleton, EmoticonReplacer on a
// TextEdit, EmoticonPicker, and EmojiPicker by mouse and keyboard.
#include "editormodel.h"
#include "qmlwarnings.h"
#include "testenvironment.h"
#include "tonechooser.h"

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
    function call(name, args) { return Emoticons[name].apply(Emoticons, args) }
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
    QQuickItem *picker() const { return qobject_cast<QQuickItem *>(child("emojiPicker")); }
    QAbstractItemModel *model() const
    {
        return picker()->property("model").value<QAbstractItemModel *>();
    }
    // Of the emoji picker's model unless @p of is given.
    QString role(int row, const char *name = "emoji", QAbstractItemModel *of = nullptr) const
    {
        of = of ? of : model();
        return of->index(row, 0).data(of->roleNames().key(name)).toString();
    }
    // Calls Emoticons' function @p name from QML; a JavaScript array or object arrives as a
    // QJSValue.
    template<typename... Arguments>
    QVariant call(const char *name, const Arguments &...arguments) const
    {
        QVariant result;
        const QVariantList list { QVariant(arguments)... };
        QMetaObject::invokeMethod(m_scene, "call", Q_RETURN_ARG(QVariant, result),
            Q_ARG(QVariant, name), Q_ARG(QVariant, list));
        return result.userType() == qMetaTypeId<QJSValue>() ? result.value<QJSValue>().toVariant()
                                                            : result;
    }
    // The @p key of the first {emoji, shortcode, name} map that @p name gives for @p argument.
    QString first(const char *name, const QString &argument, const char *key = "emoji") const
    {
        return call(name, argument).toList().value(0).toMap().value(key).toString();
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
    static QList<QQuickItem *> descendants(QQuickItem *root)
    {
        QList<QQuickItem *> items { root };
        for (int i = 0; i < items.size(); ++i)
            items += items.at(i)->childItems();
        return items;
    }
    // The shown buttons below @p root as assistive technology reads them, in reading order.
    static QStringList buttonNames(QQuickItem *root)
    {
        QMap<QPair<qreal, qreal>, QString> names;
        for (QQuickItem *item : descendants(root)) {
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(item);
            if (item->isVisible() && accessible && accessible->role() == QAccessible::Button) {
                const QPointF at = item->mapToScene(QPointF());
                names.insert({ at.y(), at.x() }, accessible->text(QAccessible::Name));
            }
        }
        return names.values();
    }
    void click(QQuickItem *item, QPointF at)
    {
        QTest::mouseClick(m_window, Qt::LeftButton, {}, item->mapToScene(at).toPoint());
    }
    // Keys by name, "Ctrl+T", and clicks: "click:button" on the tone button, "click:N" on the
    // Nth cell of the 40-pixel grid.
    void keys(const QString &sequence)
    {
        static const QHash<QString, Qt::Key> named { { "x", Qt::Key_X },
            { "Backspace", Qt::Key_Backspace }, { "Space", Qt::Key_Space },
            { "Right", Qt::Key_Right }, { "Left", Qt::Key_Left }, { "Down", Qt::Key_Down },
            { "Home", Qt::Key_Home }, { "End", Qt::Key_End }, { "PgUp", Qt::Key_PageUp },
            { "PgDown", Qt::Key_PageDown }, { "Return", Qt::Key_Return },
            { "Escape", Qt::Key_Escape } };
        for (const QString &key : sequence.split(' ')) {
            const int cell = key.mid(6).toInt();
            if (key == "Ctrl+T")
                QTest::keyClick(m_window, Qt::Key_T, Qt::ControlModifier);
            else if (key == "click:button")
                click(toneButton(), { 20, 20 });
            else if (key.startsWith("click:"))
                click(picker(), { 20.0 + cell % 8 * 40, 100.0 + cell / 8 * 40 });
            else if (named.contains(key))
                QTest::keyClick(m_window, named.value(key));
            else
                QFAIL(qPrintable(key));
        }
    }
    QQuickItem *toneButton() const
    {
        const QList<QQuickItem *> items = descendants(picker());
        return *std::find_if(
            items.begin(), items.end(), std::mem_fn(&QQuickItem::activeFocusOnTab));
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
        QTest::addColumn<QStringList>("fragments"); // of the HTML
        QTest::newRow("codes") << "Hi :) <3"
                               << QStringList { "<img src='" + path("<3") + "'", " alt='&lt;3'" };
        QTest::newRow("markup and entities") << "<b>:)</b> &amp; 'x' \"y\"" << QStringList();
        QTest::newRow("line ends") << "a :)\r\nb\n\n<3\r" << QStringList();
        QTest::newRow("no code") << "plain" << QStringList();
    }

    void textConversions()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, fragments);
        const QString html = call("toHtml", text).toString();
        QVERIFY2(!html.contains('<') || html.contains("<img src='"), qPrintable(html));
        for (const QString &fragment : fragments)
            QVERIFY2(html.contains(fragment), qPrintable(html));
        QCOMPARE(call("toPlainText", html).toString(), text);
    }

    void plainTextOfForeignHtml()
    {
        QCOMPARE(call("toPlainText", "a <img src='/x.png' alt=':)' width='20' height='20'><br>b"),
            QVariant("a :)\nb"));
    }

    void emojiNamesAndSearch()
    {
        QCOMPARE(call("emojiName", "👍", "de"), QVariant("Daumen hoch"));
        const QVariantMap thumbsUp { { "emoji", "👍" }, { "shortcode", "+1" },
            { "name", "Daumen hoch" } };
        QCOMPARE(call("searchEmoji", "DÄUMEN", "de", 1).toList(), QVariantList { thumbsUp });
    }

    // Completion, recent emoji and the skin tone, each change seen by QML bindings.
    void emojiPreferences()
    {
        QCOMPARE(call("completeShortcode", "t").toList(), QVariantList());
        QCOMPARE(first("completeShortcode", ":thu"), QStringLiteral("👍"));
        QCOMPARE(first("completeShortcode", ":thu", "shortcode"), QStringLiteral("thumbsup"));
        QCOMPARE(first("completeShortcode", ":thu", "name"), EmojiData().emojiName("👍"));
        QCOMPARE(call("completeShortcode", "sm").toList().size(), 10);

        QCOMPARE(m_scene->property("skinTone").toInt(), 0);
        QVERIFY(QMetaObject::invokeMethod(m_scene, "setSkinTone", Q_ARG(QVariant, 3)));
        QTRY_COMPARE(m_scene->property("skinTone").toInt(), 3);
        QCOMPARE(first("completeShortcode", "thu"), QStringLiteral("👍🏽"));
        QCOMPARE(first("searchEmoji", "thumbs up"), QStringLiteral("👍🏽"));

        QCOMPARE(m_scene->property("recentEmoji").toStringList(), QStringList());
        call("noteEmojiUsed", "👎");
        QTRY_COMPARE(m_scene->property("recentEmoji").toStringList(), QStringList { "👎" });
        QCOMPARE(first("completeShortcode", "thu"), QStringLiteral("👎🏽"));
        QCOMPARE(first("completeShortcode", "thu", "shortcode"), QStringLiteral("thumbsdown"));
        call("clearRecentEmoji");
        QTRY_COMPARE(m_scene->property("recentEmoji").toStringList(), QStringList());
        QVERIFY(QMetaObject::invokeMethod(m_scene, "setSkinTone", Q_ARG(QVariant, 0)));
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
        QCOMPARE(themes->rowCount(), 2); // the built-in theme and the Emoji theme
        const int row = role(0, "uuid", themes) == m_theme.themeUUID() ? 0 : 1;
        QCOMPARE(role(row, "name", themes), m_theme.themeName());
        QCOMPARE(role(row, "uuid", themes), m_theme.themeUUID());
        QCOMPARE(role(row, "preview", themes), "image://glyphmorph/" + m_theme.previewPixmapName());
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
        QCOMPARE(model()->property("section").toInt(), 1);
        QCOMPARE(model()->property("sections").toStringList().at(1),
            QStringLiteral("Smileys & Emotion"));
        QCOMPARE(role(0), QStringLiteral("😀"));
        QSignalSpy chosen(picker(), SIGNAL(chosen(QString)));
        QSignalSpy closing(picker(), SIGNAL(closeRequested()));
        picker()->forceActiveFocus();
        keys("Right");
        QCOMPARE(picker()->property("currentIndex").toInt(), 1);
        for (char c : QByteArray("thumbs up"))
            QTest::keyClick(m_window, c);
        QCOMPARE(picker()->property("searchText").toString(), QStringLiteral("thumbs up"));
        QCOMPARE(role(0), QStringLiteral("👍"));
        keys("Return");
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("👍"));
        // Escape clears the search, then asks to close.
        keys("Escape");
        QVERIFY(picker()->property("searchText").toString().isEmpty());
        QCOMPARE(closing.count(), 0);
        keys("Escape");
        QCOMPARE(closing.count(), 1);
    }

    void emojiPickerKeys_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<int>("index");
        QTest::newRow("down right") << "Down Right" << 8 + 1;
        QTest::newRow("end home") << "End Home" << 0;
        QTest::newRow("page down") << "PgDown" << 8 * 5;
        QTest::newRow("page down up") << "PgDown PgUp" << 0;
    }

    void emojiPickerKeys()
    {
        QFETCH(QString, sequence);
        picker()->forceActiveFocus();
        keys("Home " + sequence);
        QTEST(picker()->property("currentIndex").toInt(), "index");
    }

    // Space opens the variants of the cell, Escape goes back to it; the cells' accessible names
    // are the emoji's names, with the tone picked.
    void emojiPickerVariantsAndNames()
    {
        model()->setProperty("section", 2);
        picker()->forceActiveFocus();
        keys("Home Space");
        QCOMPARE(model()->property("variantsOf").toString(), QStringLiteral("👋"));
        QCOMPARE(model()->rowCount(), 6);
        QSignalSpy chosen(picker(), SIGNAL(chosen(QString)));
        keys("Right Return");
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("👋🏻"));
        keys("Escape");
        QVERIFY(model()->property("variantsOf").toString().isEmpty());
        QCOMPARE(picker()->property("currentIndex").toInt(), 0);
        // The cell shows the tone just picked among its variants.
        const QStringList names = buttonNames(picker());
        QVERIFY2(names.contains(QStringLiteral("waving hand: light skin tone")),
            qPrintable(names.join(", ")));
        QVERIFY(names.contains(QStringLiteral("raised hand")));
    }

    // The tone chooser as in the Widgets picker: six tones by name, the current one current, a
    // pick sets the default tone and inserts nothing, Escape changes nothing, and the focus goes
    // back where it was.
    void emojiPickerToneChooser_data()
    {
        GlyphmorphTest::addToneChooserColumns();
        const auto row = GlyphmorphTest::addToneChooserRow;
        row("click; arrows and Return pick", "en", 0, "grid", "click:button",
            "Space Right Right Right Return", 3);
        row("Ctrl+T in the search field, German; a click picks", "de", 5, "search", "Ctrl+T",
            "click:3", 3);
        row("Ctrl+T in the grid; Escape", "en", 2, "grid", "Ctrl+T", "Right Escape", 2);
        row("Return on the button; Ctrl+T closes", "en", 4, "button", "Return", "Left Ctrl+T", 4);
        row("Space on the button; the button again closes", "en", 1, "button", "Space",
            "click:button", 1);
    }

    void emojiPickerToneChooser()
    {
        QFETCH(QString, locale);
        QFETCH(int, before);
        QFETCH(QString, from);
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(int, after);
        QQuickItem *grid = nullptr;
        for (QQuickItem *item : descendants(picker()))
            grid = item->inherits("QQuickGridView") ? item : grid;
        QQuickItem *button = toneButton();
        QVERIFY(grid && button);
        picker()->setProperty("locale", locale);
        model()->setProperty("skinTone", before);
        QTRY_COMPARE(model()->property("skinTone").toInt(), before);
        model()->setProperty("section", 2);
        const int sectionCount = model()->rowCount();
        grid->forceActiveFocus();
        keys(from == "grid" ? "Home Right" : from == "button" ? "Home" : "Home x Backspace");
        if (from == "button")
            button->forceActiveFocus();
        // The grid gives the focus on to its current cell; typing moves it to the search field.
        const auto focused = [this, grid, button] {
            QQuickItem *item = m_window->activeFocusItem();
            return grid->hasActiveFocus()                   ? QStringLiteral("grid")
                : item == button                            ? QStringLiteral("button")
                : item && item->inherits("QQuickTextInput") ? QStringLiteral("search")
                                                            : QString();
        };
        QCOMPARE(focused(), from);
        QSignalSpy chosen(picker(), SIGNAL(chosen(QString)));
        keys(open);

        QVERIFY(model()->property("choosingSkinTone").toBool());
        const QStringList &tones = GlyphmorphTest::toneChoices;
        const QStringList names = GlyphmorphTest::toneNames(locale);
        QCOMPARE(model()->rowCount(), 6);
        for (int row = 0; row < 6; ++row) {
            QCOMPARE(role(row), tones.at(row));
            QCOMPARE(role(row, "variantCount"), QStringLiteral("1"));
        }
        QCOMPARE(buttonNames(grid), names); // the delegates' names are the model's
        QCOMPARE(picker()->property("currentIndex").toInt(), before);
        QCOMPARE(focused(), QStringLiteral("grid"));

        keys(close);
        QVERIFY(!model()->property("choosingSkinTone").toBool());
        QCOMPARE(model()->rowCount(), sectionCount);
        QCOMPARE(focused(), from);
        if (from == "grid")
            QCOMPARE(picker()->property("currentIndex").toInt(), 1);
        QTRY_COMPARE(model()->property("skinTone").toInt(), after);
        // 🤚, the second cell, shows the tone.
        const QString backOfHand = QStringLiteral("🤚");
        QTRY_COMPARE(role(1),
            after == 0 ? backOfHand : EmojiData().skinToneVariants(backOfHand).at(after - 1));
        QCOMPARE(chosen.count(), 0);
        picker()->setProperty("locale", QStringLiteral("en"));
        model()->setProperty("skinTone", 0);
    }
};

GLYPHMORPH_TEST_MAIN(QmlModuleTest)
#include "qmlmoduletest.moc"
