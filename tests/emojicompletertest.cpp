// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Shortcode completion typed key by key: EmojiCompleter on a QTextEdit and on an MTextEdit, and
// EmoticonReplacer on a QML TextEdit, each with the built-in theme's in-place replacement wired
// as applications wire it.
#include "qmlwarnings.h"
#include "testenvironment.h"
#include "texteditoraccess_p.h"

#include <emojicompleter.h>
#include <emojicompletionmodel.h>
#include <emojipreferences.h>
#include <emoticonthememanager.h>
#include <glyphmorpher.h>
#include <mtextedit.h>

#include <QAbstractItemView>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QScopeGuard>
#include <QTextEdit>
#include <QVBoxLayout>

#ifdef GLYPHMORPH_QML_IMPORT_PATH
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickTextDocument>
#include <QQuickWindow>
#endif

#include <memory>

namespace {

enum class Editor
{
    TextEdit,
    MTextEdit,
    Qml,
};

const QList<QPair<Editor, const char *>> editors()
{
    QList<QPair<Editor, const char *>> list { { Editor::TextEdit, "QTextEdit" },
        { Editor::MTextEdit, "MTextEdit" } };
#ifdef GLYPHMORPH_QML_IMPORT_PATH
    list.append({ Editor::Qml, "QML" });
#endif
    return list;
}

// Away from the screen's corner, so that a list placed at the origin shows as misplaced.
const QPoint windowPosition(100, 80);

class FrontEnd
{
public:
    virtual ~FrontEnd() = default;
    /** Whether the editor has the keyboard focus in an active window. */
    virtual bool ready() = 0;
    virtual QTextDocument *document() const = 0;
    virtual QAbstractItemModel *model() const = 0;
    virtual bool isOpen() const = 0;
    virtual int currentRow() const = 0;
    virtual bool popupShown() const = 0;
    virtual void key(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    virtual void character(char c) = 0;
};

class WidgetFrontEnd : public FrontEnd
{
public:
    bool isOpen() const override { return completer->isOpen(); }
    int currentRow() const override { return completer->currentRow(); }
    QAbstractItemModel *model() const override { return completer->model(); }
    bool popupShown() const override
    {
        return completer->popup() && completer->popup()->isVisible();
    }

    EmojiCompleter *completer = nullptr;
    // The replacement edits the document, which reports those edits too.
    bool replacing = false;
};

class TextEditFrontEnd : public WidgetFrontEnd
{
public:
    TextEditFrontEnd()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        completer = new EmojiCompleter(edit);
        // As widgets-chat wires it.
        QObject::connect(
            edit->document(), &QTextDocument::contentsChange, [this](int position, int, int added) {
                edit->setProperty("positionOfChange", position);
                edit->setProperty("charactersPasted", added);
            });
        QObject::connect(edit, &QTextEdit::textChanged, [this] {
            if (replacing)
                return;
            replacing = true;
            Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(
                edit, QString(), false);
            replacing = false;
        });
        window.setGeometry(QRect(windowPosition, QSize(400, 200)));
        window.show();
        window.activateWindow();
    }

    bool ready() override
    {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        edit->setFocus();
        return edit->hasFocus();
    }
    QTextDocument *document() const override { return edit->document(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        QTest::keyClick(edit, key, modifiers);
    }
    void character(char c) override { QTest::keyClick(edit, c); }

    QWidget window;
    QTextEdit *const edit = new QTextEdit(&window);
};

class MTextEditFrontEnd : public WidgetFrontEnd
{
public:
    MTextEditFrontEnd()
    {
        scene.addItem(edit);
        scene.setSceneRect(0, 0, 400, 200);
        view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        edit->setGeometry(QRectF(10, 10, 380, 100));
        completer = new EmojiCompleter(edit);
        // As the messenger wires it.
        QObject::connect(
            edit->document(), &QTextDocument::contentsChange, [this](int position, int, int added) {
                if (replacing)
                    return;
                replacing = true;
                edit->setProperty("positionOfChange", position);
                edit->setProperty("charactersPasted", added);
                Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(
                    edit, QString(), false);
                replacing = false;
            });
        view.setGeometry(QRect(windowPosition, QSize(400, 200)));
        view.show();
        view.activateWindow();
    }

    bool ready() override
    {
        if (!QTest::qWaitForWindowActive(&view))
            return false;
        edit->setFocus();
        return edit->hasFocus();
    }
    QTextDocument *document() const override { return edit->document(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        QTest::keyClick(&view, key, modifiers);
    }
    void character(char c) override { QTest::keyClick(&view, c); }

    QGraphicsScene scene;
    QGraphicsView view { &scene };
    MTextEdit *const edit = new MTextEdit;
};

#ifdef GLYPHMORPH_QML_IMPORT_PATH
const char QmlScene[] = R"(
import QtQuick 2.12
import Glyphmorph 1.0
Item {
    width: 400; height: 300
    property alias edit: edit
    property alias replacer: replacer
    property alias popup: popup
    TextEdit {
        id: edit
        width: 400; height: 60
        focus: true
        Keys.onPressed: function(event) {
            event.accepted = replacer.handleCompletionKey(event.key, event.modifiers)
        }
    }
    EmoticonReplacer { id: replacer; document: edit.textDocument; cursorPosition: edit.cursorPosition }
    EmojiCompletionPopup {
        id: popup
        replacer: replacer
        textEdit: edit
        x: edit.cursorRectangle.x
        y: edit.cursorRectangle.y + edit.cursorRectangle.height
    }
}
)";

class QmlFrontEnd : public FrontEnd
{
public:
    explicit QmlFrontEnd(QQmlEngine *engine)
    {
        QQmlComponent component(engine);
        component.setData(QmlScene, QUrl());
        root.reset(qobject_cast<QQuickItem *>(component.create()));
        if (!root) {
            qWarning("%s", qPrintable(component.errorString()));
            return;
        }
        root->setParentItem(window.contentItem());
        window.setGeometry(QRect(windowPosition, QSize(400, 300)));
        window.show();
        window.requestActivate();
    }

    QObject *child(const char *name) const { return root->property(name).value<QObject *>(); }
    bool ready() override
    {
        if (!root || !QTest::qWaitForWindowActive(&window))
            return false;
        auto *edit = qobject_cast<QQuickItem *>(child("edit"));
        edit->forceActiveFocus();
        return edit->hasActiveFocus();
    }
    QTextDocument *document() const override
    {
        return child("edit")
            ->property("textDocument")
            .value<QQuickTextDocument *>()
            ->textDocument();
    }
    QAbstractItemModel *model() const override
    {
        return child("replacer")->property("completions").value<QAbstractItemModel *>();
    }
    bool isOpen() const override { return child("replacer")->property("completionOpen").toBool(); }
    int currentRow() const override
    {
        return child("replacer")->property("completionIndex").toInt();
    }
    bool popupShown() const override { return child("popup")->property("visible").toBool(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        QTest::keyClick(&window, key, modifiers);
    }
    void character(char c) override { QTest::keyClick(&window, c); }

    QQuickWindow window;
    std::unique_ptr<QQuickItem> root;
};
#endif

struct Key
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

// "<Name>" is a key, anything else text typed character by character.
const QHash<QString, Key> &keyNames()
{
    static const QHash<QString, Key> names {
        { "<Up>", { Qt::Key_Up, Qt::NoModifier } },
        { "<Down>", { Qt::Key_Down, Qt::NoModifier } },
        { "<Return>", { Qt::Key_Return, Qt::NoModifier } },
        { "<Enter>", { Qt::Key_Enter, Qt::KeypadModifier } },
        { "<Tab>", { Qt::Key_Tab, Qt::NoModifier } },
        { "<Escape>", { Qt::Key_Escape, Qt::NoModifier } },
        { "<Backspace>", { Qt::Key_Backspace, Qt::NoModifier } },
        { "<Shift+Left>", { Qt::Key_Left, Qt::ShiftModifier } },
        { "<Ctrl+Z>", { Qt::Key_Z, Qt::ControlModifier } },
    };
    return names;
}

} // namespace

Q_DECLARE_METATYPE(Editor)

class EmojiCompleterTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_themesRoot;
    EmojiPreferences m_preferences;
#ifdef GLYPHMORPH_QML_IMPORT_PATH
    QQmlEngine *m_engine = nullptr;
#endif

    std::unique_ptr<FrontEnd> makeFrontEnd(Editor editor)
    {
        switch (editor) {
        case Editor::TextEdit:
            return std::make_unique<TextEditFrontEnd>();
        case Editor::MTextEdit:
            return std::make_unique<MTextEditFrontEnd>();
        case Editor::Qml:
            break;
        }
#ifdef GLYPHMORPH_QML_IMPORT_PATH
        return std::make_unique<QmlFrontEnd>(m_engine);
#else
        return nullptr;
#endif
    }

    static void type(FrontEnd &frontEnd, const QStringList &keys)
    {
        for (const QString &piece : keys) {
            const auto named = keyNames().constFind(piece);
            if (named != keyNames().constEnd()) {
                frontEnd.key(named->key, named->modifiers);
                continue;
            }
            for (const char c : piece.toLatin1())
                frontEnd.character(c);
        }
    }

    // Images as their codes, paragraphs as line feeds.
    static QString text(const FrontEnd &frontEnd)
    {
        return TextEditorAccess::plainText(frontEnd.document());
    }

    static QStringList shortcodes(const QAbstractItemModel *model)
    {
        QStringList list;
        for (int row = 0; row < model->rowCount(); ++row)
            list << model->index(row, 0).data(EmojiCompletionModel::ShortcodeRole).toString();
        return list;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("GLYPHMORPH_THEMES_ROOT", QFile::encodeName(m_themesRoot.path()));
        Glyphmorpher::m_pInstance = new Glyphmorpher;
#ifdef GLYPHMORPH_QML_IMPORT_PATH
        GlyphmorphTest::recordQmlWarnings();
        QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
        m_engine = new QQmlEngine(this);
        m_engine->addImportPath(QStringLiteral(GLYPHMORPH_QML_IMPORT_PATH));
#endif
    }

    void cleanupTestCase()
    {
        delete Glyphmorpher::m_pInstance;
        Glyphmorpher::m_pInstance = nullptr;
        const QStringList &warnings = GlyphmorphTest::qmlWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

    // Completion orders by recent use and applies the tone: every case starts from neither.
    void init()
    {
        QVERIFY(m_preferences.clearRecentEmoji());
        QVERIFY(m_preferences.setSkinTone(0));
    }

    void keys_data()
    {
        QTest::addColumn<Editor>("editor");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("tone");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row"); // -1: closed
        QTest::addColumn<QString>("noted"); // the most recent emoji afterwards

        struct Case
        {
            const char *name;
            QStringList keys;
            int tone;
            QString text;
            int row;
            QString noted;
        };
        const QString up = QStringLiteral("👍");
        const QString down = QStringLiteral("👎");
        const QList<Case> cases {
            { "opens at the first row", { ":thu" }, 0, ":thu", 0, {} },
            { "down return completes the second row", { ":thu", "<Down>", "<Return>" }, 0, down, -1,
                down },
            { "with the user's tone", { ":thu", "<Return>" }, 3, QStringLiteral("👍🏽"), -1,
                QStringLiteral("👍🏽") },
            { "tab completes", { ":thu", "<Tab>" }, 0, up, -1, up },
            { "keypad enter completes", { ":thu", "<Enter>" }, 0, up, -1, up },
            { "up wraps to the last row", { ":thu", "<Up>" }, 0, ":thu", 3, {} },
            { "down down up", { ":thu", "<Down>", "<Down>", "<Up>" }, 0, ":thu", 1, {} },
            { "completes where the text goes on", { "ok :thu", "<Return>", " yes" }, 0,
                "ok " + up + " yes", -1, up },
            { "one undo step", { ":thu", "<Return>", "<Ctrl+Z>" }, 0, ":thu", 0, up },
            { "return after completing is a line break", { ":thu", "<Return>", "<Return>" }, 0,
                up + "\n", -1, up },
            { "on a line of its own", { "x", "<Return>", ":thu", "<Return>" }, 0, "x\n" + up, -1,
                up },
            { "escape closes, the next key is text", { ":thu", "<Escape>", "m" }, 0, ":thum", -1,
                {} },
            { "escape, then return is a line break", { ":thu", "<Escape>", "<Return>" }, 0,
                ":thu\n", -1, {} },
            { "escape, then another word opens", { ":thu", "<Escape>", " :thu" }, 0, ":thu :thu", 0,
                {} },
            { "one character: return is a line break", { ":p", "<Return>" }, 0, ":p\n", -1, {} },
            { "one character", { ":s" }, 0, ":s", -1, {} },
            { "inside a word", { "a:th" }, 0, "a:th", -1, {} },
            { "inside a word, return is a line break", { "a:thu", "<Return>" }, 0, "a:thu\n", -1,
                {} },
            { "no shortcode", { ":-)" }, 0, ":-)", -1, {} },
            { "no shortcode begins with it", { ":umbs" }, 0, ":umbs", -1, {} },
            { "after a space", { "hi :sm" }, 0, "hi :sm", 0, {} },
            { "after an image", { ":):thu" }, 0, ":):thu", 0, {} },
            // The built-in theme makes ":p" an image as soon as it is typed.
            { "a code's image stands for its code", { ":party", "<Return>" }, 0,
                QStringLiteral("🥳"), -1, QStringLiteral("🥳") },
            { "a selection closes", { ":thu", "<Shift+Left>" }, 0, ":thu", -1, {} },
            { "the word ends", { ":thu " }, 0, ":thu ", -1, {} },
            { "backspace back into the word", { ":thu ", "<Backspace>" }, 0, ":thu", 0, {} },
        };
        for (const auto &editor : editors()) {
            for (const Case &c : cases) {
                QTest::addRow("%s: %s", editor.second, c.name)
                    << editor.first << c.keys << c.tone << c.text << c.row << c.noted;
            }
        }
    }

    void keys()
    {
        QFETCH(Editor, editor);
        QFETCH(QStringList, keys);
        QFETCH(int, tone);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QString, noted);
        QVERIFY(m_preferences.setSkinTone(tone));
        const std::unique_ptr<FrontEnd> frontEnd = makeFrontEnd(editor);
        QVERIFY(frontEnd->ready());
        type(*frontEnd, keys);
        QCOMPARE(this->text(*frontEnd), text);
        QCOMPARE(frontEnd->isOpen(), row >= 0);
        QCOMPARE(frontEnd->currentRow(), row);
        QCOMPARE(frontEnd->popupShown(), row >= 0);
        // Closed, the model holds no rows for a list to show.
        QCOMPARE(frontEnd->model()->rowCount() > 0, row >= 0);
        QCOMPARE(m_preferences.recentEmoji().value(0), noted);
    }

    // Prefix matches first, as the model orders them, and nothing else is shown.
    void rows_data()
    {
        QTest::addColumn<Editor>("editor");
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("prefixRows");
        for (const auto &editor : editors()) {
            QTest::addRow("%s: hea", editor.second) << editor.first << "hea" << 10;
            QTest::addRow("%s: thu", editor.second) << editor.first << "thu" << 2;
        }
    }

    void rows()
    {
        QFETCH(Editor, editor);
        QFETCH(QString, query);
        QFETCH(int, prefixRows);
        const std::unique_ptr<FrontEnd> frontEnd = makeFrontEnd(editor);
        QVERIFY(frontEnd->ready());
        type(*frontEnd, { ":" + query });
        const QStringList shown = shortcodes(frontEnd->model());
        int prefixes = 0;
        while (prefixes < shown.size() && shown.at(prefixes).startsWith(query))
            ++prefixes;
        QCOMPARE(prefixes, prefixRows);
        for (const QString &shortcode : shown.mid(prefixes))
            QVERIFY2(
                shortcode.contains(query) && !shortcode.startsWith(query), qPrintable(shortcode));
        EmojiCompletionModel model;
        model.setQuery(query);
        QCOMPARE(shown, shortcodes(&model));
    }

    // The Emoji theme makes the emoji put in an image, as it does typed emoji; the cursor stays
    // behind it, and the emoji counts as used once, not by the completion and the image both.
    void completedEmojiBecomesAnImage_data()
    {
        QTest::addColumn<Editor>("editor");
        for (const auto &editor : editors())
            QTest::newRow(editor.second) << editor.first;
    }

    void completedEmojiBecomesAnImage()
    {
        QFETCH(Editor, editor);
        EmoticonThemeManager *manager = EmoticonThemeManager::m_pInstance;
        const QString emojiTheme = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");
        QVERIFY2(manager->emoticonThemes().contains(emojiTheme), "no colour emoji font");
        manager->setCurrentTheme(emojiTheme);
        const auto restore = qScopeGuard(
            [manager] { manager->setCurrentTheme(EmoticonThemeManager::defaultThemeUUID()); });
        const std::unique_ptr<FrontEnd> frontEnd = makeFrontEnd(editor);
        QVERIFY(frontEnd->ready());
        // Used twice before: one more use of 👍 leaves it behind, two would put it in front.
        m_preferences.noteEmojiUsed(QStringLiteral("😀"));
        m_preferences.noteEmojiUsed(QStringLiteral("😀"));
        type(*frontEnd, { ":thu", "<Return>", "x" });
        QCOMPARE(frontEnd->document()->characterAt(0), QChar::ObjectReplacementCharacter);
        QCOMPARE(text(*frontEnd), QStringLiteral("👍x"));
        QCOMPARE(
            m_preferences.recentEmoji(), QStringList({ QStringLiteral("😀"), QStringLiteral("👍") }));
    }

    // The list shows below the cursor's line, and a click on a row completes with it.
    void popupUnderTheCursor_data()
    {
        QTest::addColumn<Editor>("editor");
        QTest::newRow("QTextEdit") << Editor::TextEdit;
        QTest::newRow("MTextEdit") << Editor::MTextEdit;
    }

    void popupUnderTheCursor()
    {
        QFETCH(Editor, editor);
        const std::unique_ptr<FrontEnd> frontEnd = makeFrontEnd(editor);
        auto *widgets = static_cast<WidgetFrontEnd *>(frontEnd.get());
        QVERIFY(frontEnd->ready());
        type(*frontEnd, { ":thu" });
        const QRect near = widgets->completer->popup()->geometry();
        type(*frontEnd, { "<Escape>", " and more words :thu" });
        QWidget *popup = widgets->completer->popup();
        QVERIFY(popup->isVisible());
        const QRect far = popup->geometry();
        // The editor's first line is at the top of the window.
        QVERIFY2(near.top() > windowPosition.y() + 10 && near.top() < windowPosition.y() + 60,
            qPrintable(QString::number(near.top())));
        QVERIFY2(near.left() >= windowPosition.x() && near.left() < windowPosition.x() + 40,
            qPrintable(QString::number(near.left())));
        QCOMPARE(far.top(), near.top());
        QVERIFY(far.left() > near.left() + 50);

        auto *list = popup->findChild<QAbstractItemView *>();
        const QRect second = list->visualRect(frontEnd->model()->index(1, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(text(*frontEnd), QStringLiteral(":thu and more words 👎"));
        QVERIFY(!popup->isVisible());
    }
};

GLYPHMORPH_TEST_MAIN(EmojiCompleterTest)
#include "emojicompletertest.moc"
