// SPDX-License-Identifier: MIT
// The list file's payload behind a valid header: random bytes almost never pass the checksum, so
// this target computes it and lets the fuzzer reach the field parser.
#include <QCryptographicHash>
#include <QtEndian>

#include "components/sheetfile.h"
#include "fuzzcommon.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = FuzzCommon::bytes(data, size);
    QByteArray file("LMVSHEET", 8);
    char be[8];
    qToBigEndian<quint32>(1, be);
    file.append(be, 4);
    qToBigEndian<quint64>(quint64(payload.size()), be);
    file.append(be, 8);
    file.append(QCryptographicHash::hash(payload, QCryptographicHash::Sha256));
    file.append(payload);

    const auto sheet = SheetFile::decode(file);
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
