// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "textinput.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace Tool {

namespace {

const QByteArray imageTagStartBytes = QByteArrayLiteral("<img src=");
const QByteArray lineBreakTag = QByteArrayLiteral("<br>");

bool isContinuationByte(char c)
{
    return (uchar(c) & 0xc0) == 0x80;
}

} // namespace

InputReader::InputReader(int descriptor)
    : m_descriptor(descriptor)
{ }

InputReader::InputReader(const QByteArray &bytes)
    : m_bytes(bytes)
{ }

bool InputReader::read(QByteArray *buffer, qsizetype maxSize)
{
    if (m_descriptor < 0) {
        const qsizetype count = qMin(maxSize, m_bytes.size() - m_position);
        buffer->append(m_bytes.constData() + m_position, int(count));
        m_position += count;
        return count > 0;
    }
    const qsizetype size = buffer->size();
    buffer->resize(size + maxSize);
    ssize_t count = 0;
    do {
        count = ::read(m_descriptor, buffer->data() + size, size_t(maxSize));
    } while (count < 0 && errno == EINTR);
    buffer->resize(size + (count > 0 ? count : 0));
    if (count < 0)
        m_error = QString::fromLocal8Bit(std::strerror(errno));
    return count > 0;
}

TextSplitter::TextSplitter(int descriptor, Format format)
    : m_input(descriptor)
    , m_format(format)
{ }

TextSplitter::TextSplitter(const QByteArray &bytes, Format format)
    : m_input(bytes)
    , m_format(format)
{ }

bool TextSplitter::next(QByteArray *piece)
{
    while (!m_done) {
        if (m_inputEnded) {
            *piece = m_buffer;
            m_buffer.clear();
            m_done = true;
            return true;
        }
        const qsizetype at = cut();
        if (at > 0) {
            *piece = m_buffer.left(at);
            m_buffer.remove(0, at);
            // What follows is read for cuts afresh: after an exact cut, less than a line.
            m_scanned = 0;
            m_safeCut = 0;
            m_inTag = false;
            return true;
        }
        // The buffer never holds more than one cut's worth, so the memory stays bounded.
        if (!m_input.read(&m_buffer, maxPieceSize + 2 - m_buffer.size())) {
            if (!m_input.error().isEmpty())
                return false;
            m_inputEnded = true;
        }
    }
    return false;
}

qsizetype TextSplitter::cut()
{
    const qsizetype at = m_format == Html ? htmlCut() : lineCut();
    // Two bytes stay behind a forced cut, so that the final line end is still seen whole.
    if (at == 0 && m_buffer.size() >= maxPieceSize + 2)
        return longLineCut();
    return at;
}

qsizetype TextSplitter::lineCut() const
{
    // A line end that nothing follows yet may be the final one, which the caller drops.
    if (m_buffer.size() < 2)
        return 0;
    return m_buffer.lastIndexOf('\n', int(m_buffer.size() - 2)) + 1;
}

qsizetype TextSplitter::htmlCut()
{
    // An image tag runs from "<img src=" to the first ">" after it, so a line feed inside one must
    // stay with it; a "<br>" either closes such a tag (which is then no emoticon) or stands alone.
    const char *data = m_buffer.constData();
    const qsizetype size = m_buffer.size();
    while (m_scanned < size) {
        const char c = data[m_scanned];
        if (c == '<') {
            if (size - m_scanned < imageTagStartBytes.size())
                break; // known once more input is read
            if (const qsizetype tag = tagAt(m_scanned)) {
                m_inTag = tag == imageTagStartBytes.size();
                m_scanned += tag;
                if (!m_inTag)
                    m_safeCut = m_scanned;
                continue;
            }
        } else if (c == '>') {
            m_inTag = false;
        } else if (c == '\n' && !m_inTag) {
            m_safeCut = m_scanned + 1;
        }
        ++m_scanned;
    }
    return m_safeCut;
}

qsizetype TextSplitter::tagAt(qsizetype at) const
{
    for (const QByteArray &tag : { imageTagStartBytes, lineBreakTag }) {
        if (m_buffer.size() - at >= tag.size()
            && std::memcmp(m_buffer.constData() + at, tag.constData(), size_t(tag.size())) == 0)
            return tag.size();
    }
    return 0;
}

qsizetype TextSplitter::longLineCut() const
{
    const char *data = m_buffer.constData();
    if (m_format == PlainText) {
        const qsizetype space = m_buffer.lastIndexOf(' ', int(maxPieceSize - 1));
        if (space >= 0)
            return space + 1;
        // Between two characters, so that none is decoded in halves.
        for (qsizetype at = maxPieceSize; at > maxPieceSize - 4; --at) {
            if (!isContinuationByte(data[at]))
                return at;
        }
        return maxPieceSize;
    }
    // In HTML, best at a space outside any image tag, else before a tag or an entity, else at
    // any space, else between two characters; never inside "<img src=" or "<br>". Round-trip
    // HTML holds no spaces outside tags where the text had none: cut there, entities and tags
    // come through whole.
    qsizetype spaceOutsideTag = 0;
    qsizetype markup = 0;
    qsizetype space = 0;
    qsizetype character = 0;
    bool inTag = false;
    for (qsizetype at = 0; at < maxPieceSize;) {
        if (const qsizetype tag = tagAt(at)) {
            inTag = tag == imageTagStartBytes.size();
            character = markup = at;
            at += tag;
            continue;
        }
        if (data[at] == '>') {
            inTag = false;
        } else if (data[at] == '&' && !inTag) {
            markup = at;
        } else if (data[at] == ' ') {
            space = at + 1;
            if (!inTag)
                spaceOutsideTag = at + 1;
        }
        if (!isContinuationByte(data[at]))
            character = at;
        ++at;
    }
    if (spaceOutsideTag > 0)
        return spaceOutsideTag;
    if (markup > 0)
        return markup;
    if (space > 0)
        return space;
    return character > 0 ? character : maxPieceSize;
}

} // namespace Tool
