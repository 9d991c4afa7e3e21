// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "textinput.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace Tool {

namespace {

const QByteArray imageTagStart = QByteArrayLiteral("<img src=");
const QByteArray lineBreakTag = QByteArrayLiteral("<br>");

bool isContinuationByte(char c)
{
    return (uchar(c) & 0xc0) == 0x80;
}

} // namespace

InputReader::InputReader(int descriptor)
    : m_descriptor(descriptor)
{ }

bool InputReader::read(QByteArray *buffer, qsizetype maxSize)
{
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
            // What follows a cut is read afresh; after a cut that was no forced one, that is
            // what is left of a single line.
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
    const auto startsWith = [&](qsizetype at, const QByteArray &text) {
        return std::memcmp(data + at, text.constData(), size_t(text.size())) == 0;
    };
    while (m_scanned < size) {
        const char c = data[m_scanned];
        if (c == '<') {
            if (size - m_scanned < imageTagStart.size())
                break; // known once more input is read
            if (startsWith(m_scanned, imageTagStart)) {
                m_inTag = true;
                m_scanned += imageTagStart.size();
                continue;
            }
            if (startsWith(m_scanned, lineBreakTag)) {
                m_inTag = false;
                m_scanned += lineBreakTag.size();
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

bool TextSplitter::splitsTag(qsizetype at) const
{
    if (m_format != Html)
        return false;
    for (const QByteArray &tag : { imageTagStart, lineBreakTag }) {
        for (qsizetype start = qMax(qsizetype(0), at - tag.size() + 1); start < at; ++start) {
            if (start + tag.size() <= m_buffer.size()
                && std::memcmp(m_buffer.constData() + start, tag.constData(), size_t(tag.size()))
                    == 0)
                return true;
        }
    }
    return false;
}

qsizetype TextSplitter::longLineCut() const
{
    const char *data = m_buffer.constData();
    for (qsizetype at = maxPieceSize; at > 0; --at) {
        if (data[at - 1] == ' ' && !splitsTag(at))
            return at;
    }
    // No space: between two characters, so that none is decoded in halves.
    for (qsizetype at = maxPieceSize; at > maxPieceSize - 16; --at) {
        if (!isContinuationByte(data[at]) && !splitsTag(at))
            return at;
    }
    return maxPieceSize;
}

} // namespace Tool
