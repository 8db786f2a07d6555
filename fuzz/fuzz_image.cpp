// SPDX-License-Identifier: MIT
// The image load on arbitrary bytes, fitted into two small boxes (small so that the reduced
// decodes at 1/2 .. 1/8 are reached from small inputs, and no time goes into enlarging),
// plus the header-only size and format reads.
#include "components/imaging.h"
#include "fuzzcommon.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzCommon::scratchFile(FuzzCommon::bytes(data, size));
    (void)Imaging::imageSize(path);
    (void)Imaging::fileFormat(path);
    const Imaging::Photo photo = Imaging::loadPhoto(path, QSize(12, 9));
    if (photo.load.ok()) {
        // A fitted result has exactly the fitted size of the stored picture.
        if (photo.load.image.size() != Imaging::fitSize(photo.load.fullSize, QSize(12, 9)))
            __builtin_trap();
        (void)Imaging::rotateByCode(photo.load.image, 1);
    }
    const Imaging::LoadResult page = Imaging::load(path, QSize(40, 30));
    if (page.ok() && page.image.size() != Imaging::fitSize(page.fullSize, QSize(40, 30)))
        __builtin_trap();
    return 0;
}
