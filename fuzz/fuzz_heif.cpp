// SPDX-License-Identifier: MIT
// The HEIF path on arbitrary bytes: the decode (fitted, which reaches the thumbnail choice, and at
// full size), the size read, the diagnosis of a failed decode and the cut-short check, plus the
// shooting information exiv2 finds in the boxes. Pictures are limited to 4 megapixels here, far
// below the program's limit, to keep each run inside the fuzzer's memory.
#include "components/imaging.h"
#include "components/imaging_internal.h"
#include "fuzzcommon.h"

namespace
{
constexpr qint64 kFuzzMaxPixels = 4'000'000;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzCommon::bytes(data, size);
    if (!Imaging::Internal::isHeif(bytes))
        return 0;
    (void)Imaging::Internal::heifCutShort(bytes);
    const Imaging::LoadResult small = Imaging::Internal::loadHeif(bytes, QSize(12, 9), kFuzzMaxPixels);
    if (small.ok()) {
        // A fitted result has exactly the fitted size of the stored picture, 32 bits a pixel, opaque.
        if (small.image.size() != Imaging::fitSize(small.fullSize, QSize(12, 9)) ||
            small.image.format() != QImage::Format_RGB32)
            __builtin_trap();
    } else {
        (void)Imaging::Internal::heifFault(bytes, kFuzzMaxPixels);
    }
    if (size < 64 * 1024) {
        const Imaging::LoadResult full = Imaging::Internal::loadHeif(bytes, QSize(), kFuzzMaxPixels);
        if (full.ok() && full.image.size() != full.fullSize)
            __builtin_trap();
    }
    (void)Imaging::Internal::shootingInfoFromBytes(bytes);
    return 0;
}
