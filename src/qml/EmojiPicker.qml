// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The emoji picker for the Emoji theme: a search field, the default skin tone, a tab per section
// and the grid of folded emoji; a pick gives the emoji's text. Keys: arrows, Home/End, Page
// Up/Down, Return picks, Space or Menu opens the variants, typing searches, Escape closes the
// tone chooser or the variants, else clears the search, else asks to close (closeRequested).
// The tone button (a click, Return or Space on it) and Ctrl+T open the tone chooser: the six
// default skin tones in the grid; Return or a click makes one the default, Escape, Ctrl+T or the
// button again closes it unchanged, and the focus goes back where it was.
import QtQuick 2.12
import Glyphmorph 1.0

FocusScope {
    id: picker

    property int cellSize: 40
    property color highlightColor: "#d0e4ff"
    property color frameColor: "#a0a0a0"
    property alias locale: cells.locale
    readonly property alias model: cells
    readonly property alias count: grid.count
    readonly property alias currentIndex: grid.currentIndex
    readonly property alias searchText: search.text

    signal chosen(string emoji)
    signal closeRequested()

    implicitWidth: cellSize * 8
    implicitHeight: cellSize * 8

    // The row whose variants are open, to go back to.
    property int variantsFrom: -1
    // Where the focus was when the tone chooser opened: a grid row, else the search or the button.
    property int tonesFrom: -1
    property bool tonesFromSearch: false

    function pick(index) {
        if (cells.choosingSkinTone) {
            cells.pick(index)
            closeTones()
            return
        }
        var emoji = cells.pick(index)
        if (emoji.length > 0)
            chosen(emoji)
    }
    function openVariants(index) {
        if (cells.variantsOf !== "" || cells.variantCountAt(index) < 2)
            return
        variantsFrom = index
        cells.variantsOf = cells.emojiAt(index)
        grid.currentIndex = 0
        grid.forceActiveFocus()
    }
    function openTones() {
        if (cells.choosingSkinTone)
            return
        tonesFrom = grid.activeFocus ? grid.currentIndex : -1
        tonesFromSearch = search.activeFocus
        cells.choosingSkinTone = true
        grid.go(cells.skinTone)
        grid.forceActiveFocus()
    }
    function closeTones() {
        var from = tonesFrom
        tonesFrom = -1
        cells.choosingSkinTone = false
        if (from >= 0) {
            grid.go(from)
            grid.forceActiveFocus()
        } else if (tonesFromSearch) {
            search.forceActiveFocus()
        } else {
            tone.forceActiveFocus()
        }
    }
    function toggleTones() {
        if (cells.choosingSkinTone)
            closeTones()
        else
            openTones()
    }
    function handleEscape() {
        if (cells.choosingSkinTone) {
            closeTones()
        } else if (cells.variantsOf !== "") {
            var from = variantsFrom
            variantsFrom = -1
            cells.variantsOf = ""
            grid.currentIndex = from
            grid.positionViewAtIndex(from, GridView.Contain)
            grid.forceActiveFocus()
        } else if (search.text !== "") {
            search.text = ""
            grid.forceActiveFocus()
        } else {
            closeRequested()
        }
    }
    // Typing goes to the search field, wherever the focus is.
    function typeToSearch(event) {
        if (event.text.length === 0 || event.text.charCodeAt(0) <= 32
                || (event.modifiers & (Qt.ControlModifier | Qt.AltModifier | Qt.MetaModifier)))
            return false
        search.forceActiveFocus()
        search.insert(search.length, event.text)
        return true
    }
    function imageSource(emoji) {
        return "image://glyphmorphemoji/" + cells.imageKeyOf(emoji)
    }

    EmojiPickerModel { id: cells }

    // What the parts inside leave: Ctrl+T, and Escape on the tabs and the tone button.
    Keys.onPressed: function(event) {
        if (event.key === Qt.Key_T && event.modifiers === Qt.ControlModifier)
            toggleTones()
        else if (event.key === Qt.Key_Escape && event.modifiers === Qt.NoModifier)
            handleEscape()
        else
            return
        event.accepted = true
    }

    Column {
        anchors.fill: parent

        Row {
            width: parent.width
            height: picker.cellSize

            Rectangle {
                width: parent.width - tone.width
                height: parent.height
                radius: 6
                border.color: search.activeFocus ? picker.highlightColor : picker.frameColor

                TextInput {
                    id: search
                    anchors.fill: parent
                    anchors.margins: 6
                    verticalAlignment: TextInput.AlignVCenter
                    clip: true
                    Accessible.role: Accessible.EditableText
                    Accessible.name: qsTr("Search emoji")
                    onTextChanged: {
                        picker.variantsFrom = -1
                        cells.variantsOf = ""
                        picker.tonesFrom = -1
                        cells.choosingSkinTone = false
                        cells.query = text
                    }
                    Keys.onPressed: function(event) {
                        if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                            // A tone is chosen in the grid.
                            if (grid.count > 0 && !cells.choosingSkinTone)
                                picker.pick(0)
                        } else if (event.key === Qt.Key_Down) {
                            grid.forceActiveFocus()
                        } else if (event.key === Qt.Key_Escape) {
                            picker.handleEscape()
                        } else {
                            return
                        }
                        event.accepted = true
                    }
                }
            }

            Rectangle {
                id: tone
                width: picker.cellSize
                height: parent.height
                radius: 6
                // Marked like the current tab while its choices fill the grid.
                color: cells.choosingSkinTone ? picker.highlightColor : "transparent"
                border.color: activeFocus ? picker.frameColor : "transparent"
                activeFocusOnTab: true
                property string sample: cells.withSkinTone("\u270B", cells.skinTone)
                Accessible.role: Accessible.Button
                Accessible.name: Emoticons.emojiName(sample, cells.locale)
                Keys.onPressed: function(event) {
                    if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter
                         || event.key === Qt.Key_Space) && event.modifiers === Qt.NoModifier) {
                        picker.toggleTones()
                        event.accepted = true
                    }
                }
                Image {
                    anchors.centerIn: parent
                    width: Math.round(picker.cellSize * 0.7)
                    height: width
                    sourceSize.width: width
                    sourceSize.height: width
                    source: picker.imageSource(tone.sample)
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: picker.toggleTones()
                }
            }
        }

        Row {
            id: tabs
            width: parent.width
            height: picker.cellSize
            Repeater {
                model: cells.sections
                delegate: Rectangle {
                    width: Math.min(picker.cellSize, tabs.width / cells.sections.length)
                    height: tabs.height
                    radius: 6
                    color: index === cells.section && cells.query === ""
                           && !cells.choosingSkinTone ? picker.highlightColor : "transparent"
                    Accessible.role: Accessible.PageTab
                    Accessible.name: modelData
                    Image {
                        anchors.centerIn: parent
                        width: Math.round(parent.width * 0.6)
                        height: width
                        sourceSize.width: width
                        sourceSize.height: width
                        source: picker.imageSource(cells.sectionEmoji(index))
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: {
                            search.text = ""
                            picker.variantsFrom = -1
                            cells.variantsOf = ""
                            picker.tonesFrom = -1
                            cells.choosingSkinTone = false
                            cells.section = index
                            grid.forceActiveFocus()
                        }
                    }
                }
            }
        }

        GridView {
            id: grid
            width: parent.width
            height: parent.height - 2 * picker.cellSize
            cellWidth: picker.cellSize
            cellHeight: picker.cellSize
            clip: true
            focus: true
            model: cells
            readonly property int columns: Math.max(1, Math.floor(width / cellWidth))
            readonly property int page: columns * Math.max(1, Math.floor(height / cellHeight))

            function go(index) {
                if (count === 0)
                    return
                currentIndex = Math.max(0, Math.min(count - 1, index))
                positionViewAtIndex(currentIndex, GridView.Contain)
            }

            Keys.onPressed: function(event) {
                switch (event.key) {
                case Qt.Key_Home: go(0); break
                case Qt.Key_End: go(count - 1); break
                case Qt.Key_PageUp: go(currentIndex - page); break
                case Qt.Key_PageDown: go(currentIndex + page); break
                case Qt.Key_Return:
                case Qt.Key_Enter: picker.pick(currentIndex); break
                case Qt.Key_Space:
                case Qt.Key_Menu: picker.openVariants(currentIndex); break
                case Qt.Key_Escape: picker.handleEscape(); break
                default:
                    if (!picker.typeToSearch(event))
                        return
                }
                event.accepted = true
            }

            delegate: Rectangle {
                width: picker.cellSize
                height: picker.cellSize
                radius: 6
                color: (GridView.isCurrentItem && grid.activeFocus) || area.containsMouse
                       ? picker.highlightColor : "transparent"
                Accessible.role: Accessible.Button
                Accessible.name: model.name

                Image {
                    anchors.centerIn: parent
                    width: Math.round(picker.cellSize * 0.7)
                    height: width
                    sourceSize.width: width
                    sourceSize.height: width
                    source: "image://glyphmorphemoji/" + model.imageKey
                }
                // Marks a cell whose variants a long press, a right click or Space opens.
                Rectangle {
                    visible: model.variantCount > 1
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    anchors.margins: 3
                    width: 5
                    height: 5
                    radius: 2.5
                    color: picker.frameColor
                }
                MouseArea {
                    id: area
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onClicked: function(mouse) {
                        grid.currentIndex = index
                        if (mouse.button === Qt.RightButton)
                            picker.openVariants(index)
                        else
                            picker.pick(index)
                    }
                    onPressAndHold: picker.openVariants(index)
                }
            }
        }
    }
}
