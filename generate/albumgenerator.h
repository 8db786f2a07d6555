// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QVector>

#include <functional>
#include <stop_token>

#include "components/photorow.h"
#include "generate/albumoptions.h"

/// The generation modes: the index of the pressed create button.
enum class GenerationMode { NewAlbum = 1, PageStyleOnly = 2 };

/// What a generation did.
struct GenerationResult {
    bool cancelled = false;     // UserTag "ｷｬﾝｾﾙ": the album is not opened
    QStringList failedPages;    // pages that could not be written (paths)
    QStringList failedImages;   // image files that could not be written (paths)
    int reusedImages = 0;       // album images taken from the last new album instead of made again
    /// "\n･Lumivert作成エラー" when a page could not be written, else empty.
    QString errorText;
    /// Why the first failed page could not be written, in the system's words ("No space left on
    /// device", "Permission denied"); empty when every page was written.
    QString failureReason;
    QString userTag() const;    // "OK" or "ｷｬﾝｾﾙ"
};

/// progress(step, i, n): step 1 index images, 2 page images, 3 pages; once per photo before its
/// work. The stop token is checked where the window's cancel flag is: after the progress of each
/// photo in steps 1 and 2 (step 3 and the work between steps never stop).
using GenerationProgress = std::function<void(int step, int i, int n)>;

namespace AlbumGenerator {
/// Writes the album for the photos (a snapshot of the list, row i = photo i) into
/// options.albumFolder(). Runs on any thread; touches no widget or model.
GenerationResult run(const AlbumOptions& options, const QVector<PhotoRow>& photos, GenerationMode mode,
                     std::stop_token stop = {}, const GenerationProgress& progress = {});
/// "Step1.目次用画像生成  しばらくお待ちください。" + i + "/" + n + "..." and alike.
QString progressText(int step, int i, int n);
}  // namespace AlbumGenerator
