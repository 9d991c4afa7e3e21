// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include <emoticonparsingitem.h>
#include <emoxmlparsinghandler.h>

#include <QBuffer>
#include <QDir>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlInputSource>
#include <QXmlSimpleReader>

using Result = QHash<QString, QVariant>;

namespace {

// The parse result, or an empty one when the reader fails.
Result parse(QIODevice *device, const QString &baseDirectory)
{
    emoXMLParsingHandler handler(baseDirectory);
    QXmlInputSource source(device);
    QXmlSimpleReader reader;
    reader.setContentHandler(&handler);
    return reader.parse(&source) ? handler.mappingTableExtractionResult() : Result();
}

Result parse(QByteArray xml, const QString &baseDirectory = QStringLiteral("/themes/t"))
{
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    return parse(&buffer, baseDirectory);
}

QList<EmoticonParsingItem> items(const Result &result)
{
    return result.value(QStringLiteral("emoticons")).value<QList<EmoticonParsingItem>>();
}

// "[code]" ("[code]*" when default) and "size=file", sorted, then the position index and the
// preview flag.
QString describe(const EmoticonParsingItem &item)
{
    QStringList parts;
    for (auto code = item.characterCodes.cbegin(); code != item.characterCodes.cend(); ++code)
        parts += '[' + code.key() + (code.value().toBool() ? "]*" : "]");
    for (auto file = item.files.cbegin(); file != item.files.cend(); ++file)
        parts += file.key() + '=' + file.value().toString();
    parts.sort();
    return parts.join(' ') + " p=" + item.positionIndex + (item.preview ? " preview" : "");
}

} // namespace

class EmoXmlParsingHandlerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builtInTheme()
    {
        QFile file(QStringLiteral(":/default_theme_resources/default_theme.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<EmoticonParsingItem> emoticons
            = items(parse(&file, QStringLiteral(":/default_theme_resources")));
        QCOMPARE(emoticons.size(), 18);
        for (int i = 0; i < emoticons.size(); ++i)
            QCOMPARE(emoticons.at(i).preview, i == 1);
        QCOMPARE(emoticons.at(6).characterCodes, (Result { { "<3", true }, { "&lt;3", false } }));
    }

    void emoticon_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whitespace kept")
            << QByteArray("<emoticon><charactercode default=\"true\"> :) </charactercode>")
            << "[ :) ]* p=";
        QTest::newRow("default and preview in any case, nothing else true") << QByteArray(
            "<emoticon preview=\"True\"><charactercode default=\"TRUE\">a</charactercode>"
            "<charactercode default=\"True\">b</charactercode>"
            "<charactercode default=\"yes\">c</charactercode>") << "[a]* [b]* [c] p= preview";
        QTest::newRow("size M kept as written")
            << QByteArray("<emoticon><file size=\"M\">a.png</file><file size=\"s\">b</file>")
            << "M=a.png s=b p=";
        QTest::newRow("comment read as code, name ignored") << QByteArray(
            "<emoticon><comment>:(</comment><name>hi</name>"
            "<positionindex>4</positionindex>") << "[:(] p=4";
        QTest::newRow("empty code element does not repeat the code before it") << QByteArray(
            "<emoticon><charactercode>:)</charactercode><charactercode default=\"true\"/>")
                                                                               << "[:)] p=";
        QTest::newRow("element beginning with c nested in a code keeps the code") << QByteArray(
            "<emoticon><charactercode>:)<cnested/></charactercode><positionindex>2<pn/>"
            "</positionindex>") << "[:)] p=2";
    }

    void emoticon()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, expected);
        const QList<EmoticonParsingItem> emoticons
            = items(parse("<emoticon_theme theme_uuid=\"u\" theme_name=\"n\">" + xml
                + "</emoticon></emoticon_theme>"));
        QCOMPARE(emoticons.size(), 1);
        QCOMPARE(describe(emoticons.at(0)), expected);
    }

    void themeWithoutEmoticonsAndBaseDirectory()
    {
        const Result empty = parse("<emoticon_theme theme_uuid=\"u\" theme_name=\"n\"/>");
        QCOMPARE(empty.size(), 5);
        QVERIFY(empty.value("emoticons").isValid() && items(empty).isEmpty());
        QCOMPARE(parse("<other><emoticon/></other>").keys(), QStringList { "baseDirectory" });

        // A resource path stands for the cache directory, which then exists.
        const QString cache = QDir::homePath() + "/.emoticonthemecache/";
        QCOMPARE(
            parse("<x/>", ":/default_theme_resources").value("baseDirectory").toString(), cache);
        QVERIFY(QDir(cache).exists());
        QCOMPARE(parse("<x/>", "/usr/share/x").value("baseDirectory").toString(),
            QStringLiteral("/usr/share/x/"));
    }
};

QT_WARNING_POP

GLYPHMORPH_TEST_GUILESS_MAIN(EmoXmlParsingHandlerTest)
#include "emoxmlparsinghandlertest.moc"
