// SPDX-License-Identifier: MIT
// Reduced-scale JPEG decodes straight through libjpeg: the whole file in memory as the source
// (no copying through a device in small chunks), output in Qt's RGB32 layout, warnings kept to
// ourselves. A progressive JPEG at 1/8 (and at 1/4 when the caller allows) is decoded from its
// first pass of scans only:
//
// At 1/8 scale every 8 x 8 luma block becomes one pixel, its mean, which is the block's DC
// coefficient. A progressive JPEG sends the DC coefficients of every block in its first scan or
// scans, and the chroma's coarse AC soon after; most of the file refines the luma AC, which a 1/8
// decode never uses. libjpeg decodes every scan all the same (as long as a full-size decode), so
// here libjpeg's buffered-image mode is stopped as soon as what the output uses is known.
//
// At 1/4 scale every block becomes 2 x 2 pixels from a reduced inverse DCT that reads AC
// coefficients up to the highest frequency, so it needs every coefficient. The usual scripts send
// all of them within the first fifth or third of the file, without their last one or two bits;
// the rest refines those bits. Stopping there changes the 1/4 output by a few levels (about 45 dB
// on camera-like pictures, less than the album's own JPEG encoding changes it) at a quarter of
// the decoding time.
#include "components/imaging_internal.h"

#ifdef LUMIVERT_HAVE_LIBJPEG

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstdlib>

#include <QColorSpace>
#include <QSysInfo>

#include <jpeglib.h>

namespace Imaging::Internal
{

namespace
{

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onMessage(j_common_ptr, int)
{
    // Warnings (a damaged scan, a premature end) are judged by what was decoded, not reported.
}

// Whether each component's coefficients that the eighth-scale output uses are known (at some
// precision). A component shown at one pixel a block (luma; all of a 4:4:4 picture) needs its DC
// alone. Subsampled chroma is output at 2 x 2 pixels a block from a reduced inverse DCT that also
// reads AC coefficients, so for such a component every coefficient must have arrived; the usual
// progressive scripts send chroma AC early in one coarse scan each, long before luma's bulk.
bool outputInputsKnown(const jpeg_decompress_struct& info)
{
    for (int c = 0; c < info.num_components; ++c) {
#if JPEG_LIB_VERSION >= 70
        const int scaled = std::max(info.comp_info[c].DCT_h_scaled_size, info.comp_info[c].DCT_v_scaled_size);
#else
        const int scaled = info.comp_info[c].DCT_scaled_size;
#endif
        const int needed = scaled <= 1 ? 1 : DCTSIZE2;
        for (int k = 0; k < needed; ++k) {
            if (info.coef_bits[c][k] < 0)
                return false;
        }
    }
    return true;
}

// Reads the header and sets up a decode at 1 / divisor. A progressive file at 1/8, or at 1/4 with
// quarterFirstPass, is read in buffered-image mode up to the last scan that output needs at some
// precision (*firstScans is then true). Only plain C data lives between setjmp and any longjmp
// here. False when the file is not a YCbCr or greyscale JPEG, is damaged, or (first scans) ends
// before those scans.
bool prepare(jpeg_decompress_struct* info, ErrorManager* errors, const QByteArray* bytes, int divisor,
             bool quarterFirstPass, bool progressiveOnly, JOCTET** icc, unsigned int* iccLength, bool* firstScans)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes->constData()),
                 static_cast<unsigned long>(bytes->size()));
    jpeg_save_markers(info, JPEG_APP0 + 2, 0xFFFF); // ICC profile chunks
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    const bool colour = info->jpeg_color_space == JCS_YCbCr && info->num_components == 3;
    const bool grey = info->jpeg_color_space == JCS_GRAYSCALE && info->num_components == 1;
    if (!(colour || grey) || (progressiveOnly && !info->progressive_mode))
        return false;
    if (!jpeg_read_icc_profile(info, icc, iccLength)) {
        *icc = nullptr;
        *iccLength = 0;
    }
    info->scale_num = 1;
    info->scale_denom = static_cast<unsigned int>(divisor);
    *firstScans = info->progressive_mode && (divisor == 8 || (divisor == 4 && quarterFirstPass));
    if (*firstScans) {
        info->buffered_image = TRUE;
        // Smoothing invents AC coefficients for blocks still missing them: 1/8 scale ignores them,
        // and at 1/4 every coefficient has arrived, only less precisely.
        info->do_block_smoothing = FALSE;
    }
    // Qt's RGB32 in memory: B, G, R, X on little-endian machines, X, R, G, B on big-endian ones.
    info->out_color_space = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    if (!jpeg_start_decompress(info))
        return false;
    if (!*firstScans)
        return true;
    for (;;) {
        const int status = jpeg_consume_input(info);
        if (status == JPEG_SUSPENDED || status == JPEG_REACHED_EOI)
            break;
        if (status == JPEG_SCAN_COMPLETED && outputInputsKnown(*info))
            break;
    }
    return outputInputsKnown(*info);
}

// Outputs the picture into rows of `stride` bytes: from the coefficients read so far
// (first scans), or the whole decode.
bool output(jpeg_decompress_struct* info, ErrorManager* errors, bool firstScans, uchar* bits, qsizetype stride)
{
    if (setjmp(errors->jump))
        return false;
    if (firstScans && !jpeg_start_output(info, info->input_scan_number))
        return false;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = bits + qsizetype(info->output_scanline) * stride;
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false;
    }
    return true;
}

bool readSize(jpeg_decompress_struct* info, ErrorManager* errors, const QByteArray* bytes)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes->constData()),
                 static_cast<unsigned long>(bytes->size()));
    return jpeg_read_header(info, TRUE) == JPEG_HEADER_OK;
}

// A decompressor whose errors jump back to us and whose warnings are dropped.
struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    Decompressor()
    {
        info.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = onError;
        errors.pub.emit_message = onMessage;
        jpeg_create_decompress(&info);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

} // namespace

QSize jpegSize(const QByteArray& bytes)
{
    Decompressor d;
    if (!readSize(&d.info, &d.errors, &bytes))
        return {};
    return QSize(int(d.info.image_width), int(d.info.image_height));
}

namespace
{

QImage decode(const QByteArray& bytes, int divisor, bool quarterFirstPass, bool progressiveOnly)
{
    JOCTET* icc = nullptr;
    unsigned int iccLength = 0;
    QImage image;
    {
        Decompressor d;
        bool firstScans = false;
        if (prepare(&d.info, &d.errors, &bytes, divisor, quarterFirstPass, progressiveOnly, &icc, &iccLength,
                    &firstScans)) {
            image = QImage(int(d.info.output_width), int(d.info.output_height), QImage::Format_RGB32);
            if (!image.isNull() && !output(&d.info, &d.errors, firstScans, image.bits(), image.bytesPerLine()))
                image = QImage();
        }
    }
    if (!image.isNull() && icc) {
        const QColorSpace space =
            QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char*>(icc), iccLength));
        if (space.isValid())
            image.setColorSpace(space);
    }
    std::free(icc);
    return image;
}

} // namespace

QImage decodeJpegScaled(const QByteArray& bytes, int divisor, JpegScans scans)
{
    if (divisor != 2 && divisor != 4 && divisor != 8)
        return {};
    return decode(bytes, divisor, scans == JpegScans::FirstPass, false);
}

QImage decodeProgressiveFirstPass(const QByteArray& bytes, int divisor)
{
    if (divisor != 4 && divisor != 8)
        return {};
    return decode(bytes, divisor, true, true);
}

} // namespace Imaging::Internal

#else

namespace Imaging::Internal
{

QSize jpegSize(const QByteArray&)
{
    return {}; // without libjpeg, every decode goes through Qt's reader
}

QImage decodeJpegScaled(const QByteArray&, int, JpegScans)
{
    return {};
}

QImage decodeProgressiveFirstPass(const QByteArray&, int)
{
    return {};
}

} // namespace Imaging::Internal

#endif
