// SPDX-License-Identifier: MIT
// The photo list file "Lumivert.bin" on arbitrary bytes. What decodes must encode and decode again
// to the same rows.
#include "components/sheetfile.h"
#include "fuzzcommon.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString error;
    const auto sheet = SheetFile::decode(FuzzCommon::bytes(data, size), &error);
    if (!sheet)
        return 0;
    const QByteArray again = SheetFile::encode(*sheet);
    if (again.isEmpty())
        return 0;
    const auto back = SheetFile::decode(again);
    if (!back || back->rows.size() != sheet->rows.size() || back->columnWidths != sheet->columnWidths)
        __builtin_trap();
    return 0;
}
