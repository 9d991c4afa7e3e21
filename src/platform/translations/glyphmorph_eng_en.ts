<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-FileCopyrightText: 2026 glyphmorph developers -->
<!-- SPDX-License-Identifier: LGPL-2.1-or-later -->
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="qtn_msg_settings_default_theme">
        <source>Default</source>
        <extracomment>Name of the emoticon theme that comes with the library, in the theme list of the messaging settings.</extracomment>
        <translation>Default</translation>
    </message>
    <message id="qtn_msg_applet_title_select_smiley">
        <source>Select smiley</source>
        <extracomment>Title of the emoticon picker dialog.</extracomment>
        <translation>Select smiley</translation>
    </message>
    <message id="qtn_msg_emoji_recently_used">
        <source>Recently used</source>
        <extracomment>The first section of the emoji picker: the emoji the user picked last.</extracomment>
        <translation>Recently used</translation>
    </message>
    <message id="qtn_msg_emoji_no_skin_tone">
        <source>no skin tone</source>
        <extracomment>The first choice of the emoji picker's skin tone chooser, read out by screen readers; lower case like the Unicode names of the other tones ("medium skin tone").</extracomment>
        <translation>no skin tone</translation>
    </message>
</context>
</TS>
