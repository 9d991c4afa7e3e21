// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emoxmlparsinghandler.h"

#include "emoticonthemefactory.h"

#include <QDir>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

const QLatin1String themeElement("emoticon_theme");
const QLatin1String emoticonElement("emoticon");
const QLatin1Char codeLetter('c');
const QLatin1Char fileLetter('f');
const QLatin1Char positionLetter('p');

const QLatin1String themeUUIDAttribute("theme_uuid");
const QLatin1String serviceUUIDAttribute("service_uuid");
const QLatin1String themeNameAttribute("theme_name");
const QLatin1String previewAttribute("preview");
const QLatin1String defaultAttribute("default");
const QLatin1String sizeAttribute("size");
const QLatin1String trueValue("true");

const QString baseDirectoryKey = QStringLiteral("baseDirectory");

} // namespace

// Parse results carry the emoticons under this name from the moment the library loads.
static const int emoticonParsingItemListMetaTypeId
    = qRegisterMetaType<QList<EmoticonParsingItem>>("EmoticonParsingItemList");

emoXMLParsingHandler::emoXMLParsingHandler(const QString &baseDirectory)
    : m_baseDirectory(baseDirectory)
{
    Q_UNUSED(emoticonParsingItemListMetaTypeId)
    const QString directory = baseDirectory.startsWith(QLatin1Char(':'))
        ? EmoticonThemeFactory::DEFAULT_CACHED_EMOTICON_DIRECTORY()->absolutePath()
        : baseDirectory;
    m_result.insert(baseDirectoryKey, QString(directory + QLatin1Char('/')));
}

emoXMLParsingHandler::~emoXMLParsingHandler() = default;

bool emoXMLParsingHandler::startElement(
    const QString &, const QString &, const QString &qName, const QXmlAttributes &attributes)
{
    // Texts are cleared at the end of their element, not here: an element nested in a code, file
    // or position index must not erase the text read so far.
    if (qName.startsWith(codeLetter)) {
        m_state = State::InCharacterCode;
        m_defaultAttribute = attributes.value(defaultAttribute);
    } else if (qName.startsWith(fileLetter)) {
        m_state = State::InFile;
        m_sizeAttribute = attributes.value(sizeAttribute);
    } else if (qName == emoticonElement) {
        m_previewAttribute = attributes.value(previewAttribute);
        m_openSource.line = m_locator ? m_locator->lineNumber() : 0;
    } else if (qName.startsWith(positionLetter)) {
        m_state = State::InPositionIndex;
    } else if (qName == themeElement) {
        m_state = State::InTheme;
        m_result.insert(QStringLiteral("themeUUID"), attributes.value(themeUUIDAttribute));
        m_result.insert(QStringLiteral("serviceUUID"), attributes.value(serviceUUIDAttribute));
        m_result.insert(QStringLiteral("themeName"), attributes.value(themeNameAttribute));
    }
    return true;
}

bool emoXMLParsingHandler::endElement(const QString &, const QString &, const QString &qName)
{
    if (qName.startsWith(codeLetter)) {
        m_state = State::AfterCharacterCode;
        addCode(m_codeText, m_defaultAttribute.toLower() == trueValue);
        // An empty element must not inherit the text of the one before it.
        m_codeText.clear();
    } else if (qName.startsWith(fileLetter)) {
        m_state = State::AfterFile;
        if (!m_fileText.isEmpty())
            m_openFiles.insert(m_sizeAttribute, m_fileText);
        m_fileText.clear();
    } else if (qName.startsWith(positionLetter)) {
        m_state = State::AfterPositionIndex;
        if (!m_positionText.isEmpty())
            m_openPositionIndex = m_positionText;
        m_positionText.clear();
    } else if (qName == emoticonElement) {
        m_state = State::AfterEmoticon;
        EmoticonParsingItem item;
        item.characterCodes = m_openCodes;
        item.files = m_openFiles;
        item.positionIndex = m_openPositionIndex;
        item.preview = m_previewAttribute.toLower() == trueValue;
        m_items.append(item);
        m_sources.append(m_openSource);
        m_openSource = EmoticonSource();
        m_openCodes.clear();
        m_openFiles.clear();
        m_openPositionIndex = QString();
    } else if (qName == themeElement) {
        m_state = State::AfterTheme;
        m_result.insert(QStringLiteral("emoticons"), QVariant::fromValue(m_items));
        m_resultSources = m_sources;
    }
    return true;
}

bool emoXMLParsingHandler::characters(const QString &text)
{
    switch (m_state) {
    case State::InCharacterCode:
        m_codeText = text;
        break;
    case State::InFile:
        m_fileText = text;
        break;
    case State::InPositionIndex:
        m_positionText = text;
        break;
    default:
        break;
    }
    return true;
}

void emoXMLParsingHandler::setDocumentLocator(QXmlLocator *locator)
{
    m_locator = locator;
}

QHash<QString, QVariant> emoXMLParsingHandler::mappingTableExtractionResult() const
{
    return m_result;
}

QList<emoXMLParsingHandler::EmoticonSource> emoXMLParsingHandler::emoticonSources() const
{
    return m_resultSources;
}

QList<emoXMLParsingHandler::DroppedCode> emoXMLParsingHandler::droppedCodes() const
{
    return m_dropped;
}

void emoXMLParsingHandler::addCode(const QString &code, bool isDefault)
{
    if (code.isEmpty())
        return;
    // Recorded, so that a diagnosis can tell where a code went.
    const qint64 line = m_locator ? m_locator->lineNumber() : 0;
    if (code.size() > maxCodeLength) {
        m_dropped.append({ line, int(code.size()), false });
        return;
    }
    const QString escaped = code.toHtmlEscaped();
    const int characters = code.size() + (escaped != code ? escaped.size() : 0);
    if (characters > maxCodeCharacters - m_codeCharacters) {
        m_dropped.append({ line, int(code.size()), true });
        return;
    }
    m_codeCharacters += characters;
    m_openCodes.insert(code, isDefault);
    if (m_openSource.firstCode.isNull())
        m_openSource.firstCode = code;
    if (escaped != code)
        m_openCodes.insert(escaped, false);
}

QT_WARNING_POP
