// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
import QtQuick 2.12
import QtQuick.Window 2.12
import Glyphmorph 1.0

Window {
    id: window
    width: 480
    height: 560
    visible: true
    title: "QML chat"
    color: "#fafafa"

    property string accountPath: ""
    property bool pickerOpen: false
    // The Emoji theme gets the emoji picker, every other theme the grid of its emoticons.
    readonly property bool emojiTheme:
        Emoticons.currentTheme === "928ab845-fe9b-497d-af5f-e49ee6609415"

    function addMessage(text, mine) {
        messages.append({ "html": Emoticons.toHtml(text, accountPath), "mine": mine })
        list.positionViewAtEnd()
    }
    function send() {
        var text = replacer.plainText()
        if (text.trim().length === 0)
            return
        addMessage(text, true)
        edit.clear()
    }

    ListModel { id: messages }

    ListView {
        id: list
        anchors { left: parent.left; right: parent.right; top: parent.top
                  bottom: emojiTheme ? emojiPicker.top : picker.top; margins: 8 }
        spacing: 6
        clip: true
        model: messages
        delegate: Item {
            width: list.width
            height: bubble.height
            Rectangle {
                id: bubble
                x: model.mine ? parent.width - width : 0
                width: Math.min(label.implicitWidth, list.width * 0.8) + 16
                height: label.height + 12
                radius: 8
                color: model.mine ? "#d8f0cf" : "#e8e8ee"
                Text {
                    id: label
                    x: 8; y: 6
                    width: Math.min(implicitWidth, list.width * 0.8)
                    wrapMode: Text.Wrap
                    textFormat: Text.RichText
                    // The image paths in the HTML are absolute file paths.
                    baseUrl: "file:///"
                    text: model.html
                }
            }
        }
    }

    EmoticonPicker {
        id: picker
        objectName: "picker"
        visible: window.pickerOpen && !window.emojiTheme
        accountPath: window.accountPath
        anchors { left: parent.left; right: parent.right; bottom: inputBar.top; margins: 8 }
        height: visible ? implicitHeight : 0
        cellSize: 44
        onChosen: function(code, imagePath) {
            replacer.insertEmoticon(edit.cursorPosition, code, imagePath)
            window.pickerOpen = false
            edit.forceActiveFocus()
        }
    }

    EmojiPicker {
        id: emojiPicker
        objectName: "emojiPicker"
        visible: window.pickerOpen && window.emojiTheme
        anchors { left: parent.left; right: parent.right; bottom: inputBar.top; margins: 8 }
        height: visible ? implicitHeight : 0
        cellSize: 40
        // Typed text to the replacer: the emoji becomes its image as if typed.
        onChosen: function(emoji) {
            edit.insert(edit.cursorPosition, emoji)
            window.pickerOpen = false
            edit.forceActiveFocus()
        }
        onCloseRequested: {
            window.pickerOpen = false
            edit.forceActiveFocus()
        }
    }

    Rectangle {
        id: inputBar
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 64
        color: "#ececf0"

        Rectangle {
            anchors { left: parent.left; right: smiley.left; top: parent.top; bottom: parent.bottom
                      margins: 8 }
            radius: 6
            border.color: edit.activeFocus ? "#5b8def" : "#b0b0b8"
            TextEdit {
                id: edit
                objectName: "edit"
                anchors { fill: parent; margins: 6 }
                wrapMode: TextEdit.Wrap
                focus: true
                // Keys go to the shortcode completion first; Return sends when it is closed.
                Keys.onPressed: function(event) {
                    if (replacer.handleCompletionKey(event.key, event.modifiers)) {
                        event.accepted = true
                    } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                        window.send()
                        event.accepted = true
                    }
                }
            }
            EmoticonReplacer {
                id: replacer
                objectName: "replacer"
                document: edit.textDocument
                accountPath: window.accountPath
                cursorPosition: edit.cursorPosition
            }
        }
        Rectangle {
            id: smiley
            anchors { right: sendButton.left; verticalCenter: parent.verticalCenter; rightMargin: 6 }
            width: 40; height: 40; radius: 6
            color: smileyArea.pressed || window.pickerOpen ? "#d0d8e8" : "transparent"
            Image {
                anchors.centerIn: parent
                sourceSize { width: 28; height: 28 }
                source: "image://glyphmorph/icon-m-messaging-smiley-happy"
            }
            MouseArea { id: smileyArea; anchors.fill: parent; onClicked: window.pickerOpen = !window.pickerOpen }
        }
        Rectangle {
            id: sendButton
            anchors { right: parent.right; verticalCenter: parent.verticalCenter; rightMargin: 8 }
            width: 64; height: 40; radius: 6
            color: sendArea.pressed ? "#3b6dcf" : "#5b8def"
            Text { anchors.centerIn: parent; text: "Send"; color: "white"; font.bold: true }
            MouseArea { id: sendArea; anchors.fill: parent; onClicked: window.send() }
        }
    }

    // The completions of a shortcode being typed, above the input bar where the cursor is.
    EmojiCompletionPopup {
        id: completion
        objectName: "completion"
        replacer: replacer
        textEdit: edit
        width: Math.min(implicitWidth, window.width - 16)
        x: Math.max(8, Math.min(window.width - width - 8,
                                edit.mapToItem(null, edit.cursorRectangle.x, 0).x))
        y: inputBar.y - height - 4
    }
}
