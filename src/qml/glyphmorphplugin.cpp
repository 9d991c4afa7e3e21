// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The QML module Glyphmorph 1.0: the Emoticons singleton, EmoticonReplacer, EmojiPickerModel, and
// the images that EmoticonPicker.qml and EmojiPicker.qml show.
#include "emojiimageprovider.h"
#include "emoticonimageprovider.h"
#include "emoticonreplacer.h"
#include "emoticons.h"

#include <emojipickermodel.h>

#include <QQmlEngine>
#include <QQmlExtensionPlugin>
#include <QQuickTextDocument>

class GlyphmorphPlugin : public QQmlExtensionPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QQmlExtensionInterface_iid)

public:
    void registerTypes(const char *uri) override
    {
        qmlRegisterSingletonType<Emoticons>(uri, 1, 0, "Emoticons",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new Emoticons; });
        qmlRegisterType<EmoticonReplacer>(uri, 1, 0, "EmoticonReplacer");
        qmlRegisterType<EmojiPickerModel>(uri, 1, 0, "EmojiPickerModel");
    }

    void initializeEngine(QQmlEngine *engine, const char *) override
    {
        engine->addImageProvider(QStringLiteral("glyphmorph"), new EmoticonImageProvider);
        engine->addImageProvider(QStringLiteral("glyphmorphemoji"), new EmojiImageProvider);
    }
};

#include "glyphmorphplugin.moc"
