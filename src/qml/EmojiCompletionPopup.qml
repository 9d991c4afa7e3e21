// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The shortcode completions of an EmoticonReplacer as a list (emoji, :shortcode:, name), shown
// while the completion is open; the highlighted row follows completionIndex, a click completes.
// The application places it, under or above the TextEdit's cursorRectangle.
import QtQuick 2.12

Rectangle {
    id: popup

    /** The EmoticonReplacer whose completions are shown. */
    property QtObject replacer: null
    /** The TextEdit, whose cursor goes behind the emoji a click puts in. */
    property Item textEdit: null
    property int rowHeight: 32
    property color highlightColor: "#d0e4ff"
    property color textColor: "#202020"
    property color nameColor: "#707070"
    readonly property alias count: list.count

    visible: replacer !== null && replacer.completionOpen && list.count > 0
    implicitWidth: 320
    implicitHeight: list.count * rowHeight + 2 * border.width
    radius: 6
    color: "white"
    border.color: "#a0a0a0"

    // The name the emoji image provider knows an emoji by: its code points in hex without
    // U+FE0F, joined by '-'.
    function imageKey(emoji) {
        var parts = []
        for (var i = 0; i < emoji.length; ++i) {
            var c = emoji.codePointAt(i)
            if (c > 0xFFFF)
                ++i
            if (c !== 0xFE0F)
                parts.push(c.toString(16))
        }
        return parts.join("-")
    }

    ListView {
        id: list
        anchors.fill: parent
        anchors.margins: popup.border.width
        interactive: false
        clip: true
        model: popup.replacer ? popup.replacer.completions : null
        currentIndex: popup.replacer ? popup.replacer.completionIndex : -1
        highlightFollowsCurrentItem: false

        delegate: Rectangle {
            width: list.width
            height: popup.rowHeight
            radius: popup.radius
            color: ListView.isCurrentItem ? popup.highlightColor : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: model.name

            Row {
                anchors.fill: parent
                anchors.leftMargin: 6
                anchors.rightMargin: 6
                spacing: 8
                Image {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.round(popup.rowHeight * 0.75)
                    height: width
                    sourceSize.width: width
                    sourceSize.height: width
                    source: "image://glyphmorphemoji/" + popup.imageKey(model.emoji)
                }
                Text {
                    id: shortcode
                    anchors.verticalCenter: parent.verticalCenter
                    text: ":" + model.shortcode + ":"
                    font.bold: true
                    color: popup.textColor
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.max(0, parent.width - x)
                    text: model.name
                    elide: Text.ElideRight
                    color: popup.nameColor
                }
            }
            MouseArea {
                anchors.fill: parent
                onClicked: {
                    popup.replacer.completionIndex = index
                    var position = popup.replacer.acceptCompletion()
                    if (popup.textEdit && position >= 0) {
                        popup.textEdit.cursorPosition = position
                        popup.textEdit.forceActiveFocus()
                    }
                }
            }
        }
    }
}
