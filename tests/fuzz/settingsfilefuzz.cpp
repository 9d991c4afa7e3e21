// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The settings file reader on any bytes; what it read must survive being written and read again.
#include "fuzzsupport.h"
#include "settingsfile_p.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SettingsFile::Content read = SettingsFile::parse(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size)));
    const QByteArray written = SettingsFile::serialize(read.values);
    const SettingsFile::Content reread = SettingsFile::parse(written);
    GLYPHMORPH_FUZZ_CHECK(reread.clean, QString::fromUtf8(written));
    GLYPHMORPH_FUZZ_CHECK(reread.values == read.values, QString::fromUtf8(written));
    return 0;
}
