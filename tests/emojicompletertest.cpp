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

#include <functional>
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
    // Images as their codes, paragraphs as line feeds.
    QString text() const { return TextEditorAccess::plainText(document()); }

    EmojiCompleter *completer = nullptr; // on widget editors
};

class WidgetFrontEnd : public FrontEnd
{
public:
    bool ready() override { return QTest::qWaitForWindowActive(m_window) && m_focus(); }
    QTextDocument *document() const override { return m_document; }
    QAbstractItemModel *model() const override { return completer->model(); }
    bool isOpen() const override { return completer->isOpen(); }
    int currentRow() const override { return completer->currentRow(); }
    bool popupShown() const override
    {
        return completer->popup() && completer->popup()->isVisible();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        QTest::keyClick(m_keys, key, modifiers);
    }
    void character(char c) override { QTest::keyClick(m_keys, c); }

protected:
    template<typename Edit> void attach(Edit *edit, QWidget *window, QWidget *keys)
    {
        completer = new EmojiCompleter(edit);
        m_document = edit->document();
        m_focus = [edit] {
            edit->setFocus();
            return edit->hasFocus();
        };
        m_window = window;
        m_keys = keys;
        window->setGeometry(QRect(windowPosition, QSize(400, 200)));
        window->show();
        window->activateWindow();
    }
    template<typename Edit> void replace(Edit *edit)
    {
        if (replacing)
            return;
        replacing = true;
        Glyphmorpher::m_pInstance->transformTextEditContentToEmoticonInPlace(
            edit, QString(), false);
        replacing = false;
    }
    // The replacement edits the document, which reports those edits too.
    bool replacing = false;

private:
    QWidget *m_window = nullptr;
    QWidget *m_keys = nullptr;
    QTextDocument *m_document = nullptr;
    std::function<bool()> m_focus;
};

class TextEditFrontEnd : public WidgetFrontEnd
{
public:
    TextEditFrontEnd()
    {
        (new QVBoxLayout(&window))->addWidget(edit);
        attach(edit, &window, edit);
        // As widgets-chat wires it.
        QObject::connect(
            edit->document(), &QTextDocument::contentsChange, [this](int position, int, int added) {
                edit->setProperty("positionOfChange", position);
                edit->setProperty("charactersPasted", added);
            });
        QObject::connect(edit, &QTextEdit::textChanged, [this] { replace(edit); });
    }

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
        attach(edit, &view, &view);
        // As the messenger wires it.
        QObject::connect(
            edit->document(), &QTextDocument::contentsChange, [this](int position, int, int added) {
                if (replacing)
                    return;
                edit->setProperty("positionOfChange", position);
                edit->setProperty("charactersPasted", added);
                replace(edit);
            });
    }

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
#ifdef GLYPHMORPH_QML_IMPORT_PATH
        if (editor == Editor::Qml)
            return std::make_unique<QmlFrontEnd>(m_engine);
#endif
        if (editor == Editor::TextEdit)
            return std::make_unique<TextEditFrontEnd>();
        return std::make_unique<MTextEditFrontEnd>();
    }

    // "<Name>" is a key, "+EMOJI" a use of the emoji noted elsewhere, anything else text typed
    // character by character.
    void type(FrontEnd &frontEnd, const QStringList &keys)
    {
        static const QHash<QString, QPair<Qt::Key, Qt::KeyboardModifiers>> names {
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
        for (const QString &piece : keys) {
            if (names.contains(piece))
                frontEnd.key(names[piece].first, names[piece].second);
            else if (piece.startsWith('+'))
                QVERIFY(m_preferences.noteEmojiUsed(piece.mid(1)));
            else
                for (const char c : piece.toLatin1())
                    frontEnd.character(c);
        }
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
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row"); // -1: closed
        QTest::addColumn<QStringList>("recent"); // the recent emoji afterwards
        QTest::addColumn<int>("tone");
        QTest::addColumn<bool>("emojiTheme");
        const auto add
            = [](const char *name, const QStringList &keys, const QString &text, int row,
                  const QStringList &recent = {}, int tone = 0, bool emojiTheme = false) {
                  for (const auto &editor : editors())
                      QTest::addRow("%s: %s", editor.second, name)
                          << editor.first << keys << text << row << recent << tone << emojiTheme;
              };
        const QString up = QStringLiteral("👍");
        const QString down = QStringLiteral("👎");
        add("opens at the first row", { ":thu" }, ":thu", 0);
        add("down return completes the second row", { ":thu", "<Down>", "<Return>" }, down, -1,
            { down });
        add("with the user's tone", { ":thu", "<Return>" }, QStringLiteral("👍🏽"), -1,
            { QStringLiteral("👍🏽") }, 3);
        add("tab completes", { ":thu", "<Tab>" }, up, -1, { up });
        add("keypad enter completes", { ":thu", "<Enter>" }, up, -1, { up });
        add("up wraps to the last row", { ":thu", "<Up>" }, ":thu", 3);
        add("down down up", { ":thu", "<Down>", "<Down>", "<Up>" }, ":thu", 1);
        add("completes where the text goes on", { "ok :thu", "<Return>", " yes" },
            "ok " + up + " yes", -1, { up });
        add("one undo step", { ":thu", "<Return>", "<Ctrl+Z>" }, ":thu", 0, { up });
        add("return after completing is a line break", { ":thu", "<Return>", "<Return>" },
            up + "\n", -1, { up });
        add("on a line of its own", { "x", "<Return>", ":thu", "<Return>" }, "x\n" + up, -1,
            { up });
        add("escape closes, the next key is text", { ":thu", "<Escape>", "m" }, ":thum", -1);
        add("escape, then return is a line break", { ":thu", "<Escape>", "<Return>" }, ":thu\n",
            -1);
        add("escape, then another word opens", { ":thu", "<Escape>", " :thu" }, ":thu :thu", 0);
        add("one character: return is a line break", { ":p", "<Return>" }, ":p\n", -1);
        add("one character", { ":s" }, ":s", -1);
        add("inside a word", { "a:th" }, "a:th", -1);
        add("inside a word, return is a line break", { "a:thu", "<Return>" }, "a:thu\n", -1);
        add("no shortcode", { ":-)" }, ":-)", -1);
        add("no shortcode begins with it", { ":umbs" }, ":umbs", -1);
        add("after a space", { "hi :sm" }, "hi :sm", 0);
        add("after an image", { ":):thu" }, ":):thu", 0);
        // The built-in theme makes ":p" an image as soon as it is typed.
        add("a code's image stands for its code", { ":party", "<Return>" }, QStringLiteral("🥳"),
            -1, { QStringLiteral("🥳") });
        add("a selection closes", { ":thu", "<Shift+Left>" }, ":thu", -1);
        add("the word ends", { ":thu " }, ":thu ", -1);
        add("backspace back into the word", { ":thu ", "<Backspace>" }, ":thu", 0);
        // The Emoji theme makes the emoji put in an image, as it does typed emoji, and the emoji
        // counts as used once, not by the completion and the image both: after two uses of 😀,
        // one more use of 👍 leaves it behind, two would put it in front.
        const QString grin = QStringLiteral("😀");
        add("the Emoji theme's image, used once",
            { "+" + grin, "+" + grin, ":thu", "<Return>", "x" }, up + "x", -1, { grin, up }, 0,
            true);
    }

    void keys()
    {
        QFETCH(Editor, editor);
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QStringList, recent);
        QFETCH(int, tone);
        QFETCH(bool, emojiTheme);
        QVERIFY(m_preferences.setSkinTone(tone));
        EmoticonThemeManager *manager = EmoticonThemeManager::m_pInstance;
        const QString emojiUuid = QStringLiteral("928ab845-fe9b-497d-af5f-e49ee6609415");
        if (emojiTheme) {
            QVERIFY2(manager->emoticonThemes().contains(emojiUuid), "no colour emoji font");
            manager->setCurrentTheme(emojiUuid);
        }
        const auto restore = qScopeGuard([&] {
            if (emojiTheme)
                manager->setCurrentTheme(EmoticonThemeManager::defaultThemeUUID());
        });
        const std::unique_ptr<FrontEnd> frontEnd = makeFrontEnd(editor);
        QVERIFY(frontEnd->ready());
        type(*frontEnd, keys);
        QCOMPARE(frontEnd->text(), text);
        if (emojiTheme) // an image, with the cursor behind it
            QCOMPARE(frontEnd->document()->characterAt(0), QChar::ObjectReplacementCharacter);
        QCOMPARE(frontEnd->isOpen(), row >= 0);
        QCOMPARE(frontEnd->currentRow(), row);
        QCOMPARE(frontEnd->popupShown(), row >= 0);
        // Closed, the model holds no rows for a list to show; open, the rows of the word, as the
        // model orders them.
        QCOMPARE(frontEnd->model()->rowCount() > 0, row >= 0);
        EmojiCompletionModel model;
        model.setQuery(row >= 0 ? text.section(':', -1) : QString());
        QCOMPARE(shortcodes(frontEnd->model()), shortcodes(&model));
        QCOMPARE(m_preferences.recentEmoji(), recent);
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
        QVERIFY(frontEnd->ready());
        type(*frontEnd, { ":thu" });
        const QRect near = frontEnd->completer->popup()->geometry();
        type(*frontEnd, { "<Escape>", " and more words :thu" });
        QWidget *popup = frontEnd->completer->popup();
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
        QCOMPARE(frontEnd->text(), QStringLiteral(":thu and more words 👎"));
        QVERIFY(!popup->isVisible());
    }
};

GLYPHMORPH_TEST_MAIN(EmojiCompleterTest)
#include "emojicompletertest.moc"
