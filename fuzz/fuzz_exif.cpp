// SPDX-License-Identifier: MIT
// Shooting information on arbitrary bytes, through the path the import uses (a file on disk) and
// through the in-memory read that loadPhoto uses.
#include "components/imaging.h"
#include "components/imaging_internal.h"
#include "fuzzcommon.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzCommon::bytes(data, size);
    const Imaging::ShootingInfo fromFile = Imaging::readShootingInfo(FuzzCommon::scratchFile(bytes));
    const Imaging::ShootingInfo fromBytes = Imaging::Internal::shootingInfoFromBytes(bytes);
    // Both reads see the same bytes and must agree.
    if (fromFile.hasInfo != fromBytes.hasInfo || fromFile.maker != fromBytes.maker || fromFile.model != fromBytes.model
        || fromFile.dateTime != fromBytes.dateTime || fromFile.exposureNum != fromBytes.exposureNum
        || fromFile.exposureDen != fromBytes.exposureDen || fromFile.fNumberNum != fromBytes.fNumberNum
        || fromFile.fNumberDen != fromBytes.fNumberDen)
        __builtin_trap();
    return 0;
}
