// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Build tool: packs the locale tables extracted from data/emoji/locales.tar.xz, each text file
// of a directory compressed as the library reads it, NAME.txt to NAME.qz.
//   glyphmorph-emoji-pack TEXT_DIR OUTPUT_DIR
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: glyphmorph-emoji-pack TEXT_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QDir input(QFile::decodeName(argv[1]));
    const QString output = QFile::decodeName(argv[2]);
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "glyphmorph-emoji-pack: cannot create %s\n", argv[2]);
        return 1;
    }
    const QStringList files = input.entryList({ QStringLiteral("*.txt") }, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "glyphmorph-emoji-pack: no tables in %s\n", argv[1]);
        return 1;
    }
    for (const QString &name : files) {
        QFile text(input.filePath(name));
        QSaveFile packed(output + QLatin1Char('/') + name.chopped(4) + QStringLiteral(".qz"));
        if (!text.open(QIODevice::ReadOnly) || !packed.open(QIODevice::WriteOnly)
            || packed.write(qCompress(text.readAll(), 9)) < 0 || !packed.commit()) {
            std::fprintf(stderr, "glyphmorph-emoji-pack: cannot pack %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
