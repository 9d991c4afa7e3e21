// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Not public API: the SAX handler that reads a theme file for EmoticonThemeFactory.
#ifndef GLYPHMORPH_EMOXMLPARSINGHANDLER_H
#define GLYPHMORPH_EMOXMLPARSINGHANDLER_H

#include "emoticonparsingitem.h"
#include "glyphmorph_export.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

// The SAX reader is deprecated in Qt 5.15 and kept in Qt 6's Core5Compat; the theme files are read
// through it on purpose.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlDefaultHandler>

/**
 * Reads one theme file into a parse result: "baseDirectory", "themeUUID", "serviceUUID",
 * "themeName" (QString) and "emoticons" ("EmoticonParsingItemList").
 *
 * Elements are recognised by their qualified name: "emoticon_theme" and "emoticon" by the whole
 * name, code, file and position index elements by the first letters "c", "f" and "p". Attribute
 * values and texts are taken verbatim. Codes that are empty, longer than maxCodeLength characters
 * or beyond the theme's budget of maxCodeCharacters are left out, so that no file can make a
 * search tree larger than that budget.
 */
class GLYPHMORPH_AUTOTEST_EXPORT emoXMLParsingHandler : public QXmlDefaultHandler
{
public:
    static constexpr int maxCodeLength = 256;
    /** Characters of all codes and their escaped forms together. */
    static constexpr int maxCodeCharacters = 65536;

    /** Where an emoticon of the parse result comes from, for telling what is wrong with it. */
    struct EmoticonSource
    {
        /** The line of its start tag; 0 without one. */
        qint64 line = 0;
        /** The first of its codes that was kept; null when none was. */
        QString firstCode;
    };

    /** A code left out, and why: longer than maxCodeLength, or past the budget. */
    struct DroppedCode
    {
        qint64 line = 0;
        int length = 0;
        bool pastBudget = false;
    };

    /** @p baseDirectory: the directory holding the file, without trailing "/"; a Qt resource
     *  path (":...") stands for the emoticon cache directory. */
    explicit emoXMLParsingHandler(const QString &baseDirectory);
    ~emoXMLParsingHandler() override;

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
        const QXmlAttributes &attributes) override;
    bool endElement(
        const QString &namespaceURI, const QString &localName, const QString &qName) override;
    bool characters(const QString &text) override;
    void setDocumentLocator(QXmlLocator *locator) override;

    /** The parse result; complete once the reader's parse() returned true. */
    QHash<QString, QVariant> mappingTableExtractionResult() const;
    /** One per emoticon of the parse result, in its order. */
    QList<EmoticonSource> emoticonSources() const;
    /** The codes left out, in the order of the file. */
    QList<DroppedCode> droppedCodes() const;

private:
    enum class State
    {
        Initial,
        InTheme,
        AfterTheme,
        AfterEmoticon,
        InCharacterCode,
        AfterCharacterCode,
        InFile,
        AfterFile,
        InPositionIndex,
        AfterPositionIndex,
    };

    void addCode(const QString &code, bool isDefault);

    QHash<QString, QVariant> m_result;
    QList<EmoticonParsingItem> m_items;
    QList<EmoticonSource> m_sources;
    QList<EmoticonSource> m_resultSources;
    QList<DroppedCode> m_dropped;
    EmoticonSource m_openSource;
    QXmlLocator *m_locator = nullptr;
    QHash<QString, QVariant> m_openCodes;
    QHash<QString, QVariant> m_openFiles;
    QString m_openPositionIndex;
    QString m_defaultAttribute;
    QString m_previewAttribute;
    QString m_sizeAttribute;
    QString m_codeText;
    QString m_fileText;
    QString m_positionText;
    QString m_baseDirectory;
    State m_state = State::Initial;
    int m_codeCharacters = 0;
};

QT_WARNING_POP

#endif
