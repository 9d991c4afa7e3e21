// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Reading text of any length: as it comes, and cut into pieces that convert one by one.
#ifndef GLYPHMORPH_TEXTINPUT_H
#define GLYPHMORPH_TEXTINPUT_H

#include <QByteArray>
#include <QString>

namespace Tool {

/** Reads a file descriptor as it comes: a pipe gives what has been written so far. */
class InputReader
{
public:
    explicit InputReader(int descriptor);
    /** Reads @p bytes as a file of that content. */
    explicit InputReader(const QByteArray &bytes);

    /** Appends the next bytes, at most @p maxSize, to @p buffer; false at the end of the input
     *  or on an error. */
    bool read(QByteArray *buffer, qsizetype maxSize = 256 * 1024);
    /** Why reading failed; empty at the end of the input. */
    QString error() const { return m_error; }

private:
    int m_descriptor = -1;
    QByteArray m_bytes;
    qsizetype m_position = 0;
    QString m_error;
};

/**
 * The input of "html" or "plain" in pieces of whole lines, so that text of any length converts
 * in bounded memory. A piece ends where converting the pieces one by one gives what converting
 * the whole text would: after a line feed that something follows (the final line end is the
 * caller's to drop), and in HTML after "<br>" or after a line feed outside an unfinished image
 * tag. A line longer than maxPieceSize is cut at its last space within the bound (in HTML one
 * outside image tags if there is one), else between two UTF-8 characters; codes and image tags
 * are not found across such a cut.
 */
class TextSplitter
{
public:
    enum Format
    {
        PlainText,
        Html
    };
    static constexpr qsizetype maxPieceSize = 1024 * 1024;

    TextSplitter(int descriptor, Format format);
    /** Cuts @p bytes, as if read from a file. */
    TextSplitter(const QByteArray &bytes, Format format);

    /** The next piece; false once the last piece was given or reading failed (see error()).
     *  The last piece, which may be empty, is always given. */
    bool next(QByteArray *piece);
    /** True once the last piece was given. */
    bool atEnd() const { return m_done; }
    /** Why reading failed; empty otherwise. */
    QString error() const { return m_input.error(); }

private:
    qsizetype cut();
    qsizetype lineCut() const;
    qsizetype htmlCut();
    qsizetype longLineCut() const;
    qsizetype tagAt(qsizetype at) const;

    InputReader m_input;
    Format m_format;
    QByteArray m_buffer;
    bool m_inputEnded = false;
    bool m_done = false;
    // How far the HTML has been read for places to cut, and what was found there.
    qsizetype m_scanned = 0;
    qsizetype m_safeCut = 0;
    bool m_inTag = false;
};

} // namespace Tool

#endif
