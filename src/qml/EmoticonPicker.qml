// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A grid of the account's emoticons; a click on one gives its default code and image path.
import QtQuick 2.12
import Glyphmorph 1.0

Item {
    id: picker

    property string accountPath: ""
    property int cellSize: 48
    property color highlightColor: "#d0e4ff"
    readonly property alias count: grid.count

    signal chosen(string code, string imagePath)

    implicitWidth: cellSize * 6
    implicitHeight: cellSize * Math.ceil(count / Math.max(1, Math.floor(width / cellSize)))

    function reload() {
        grid.model = Emoticons.emoticons(picker.accountPath)
    }

    onAccountPathChanged: reload()
    Component.onCompleted: reload()
    Connections {
        target: Emoticons
        function onEmoticonsChanged() { picker.reload() }
    }

    GridView {
        id: grid
        anchors.fill: parent
        cellWidth: picker.cellSize
        cellHeight: picker.cellSize
        interactive: contentHeight > height
        delegate: Rectangle {
            width: picker.cellSize
            height: picker.cellSize
            radius: 6
            color: area.pressed || area.containsMouse ? picker.highlightColor : "transparent"

            Image {
                anchors.centerIn: parent
                width: Math.round(picker.cellSize * 0.7)
                height: width
                sourceSize.width: width
                sourceSize.height: width
                source: modelData.pickerImage
            }
            MouseArea {
                id: area
                anchors.fill: parent
                hoverEnabled: true
                onClicked: picker.chosen(modelData.code, modelData.imagePath)
            }
        }
    }
}
