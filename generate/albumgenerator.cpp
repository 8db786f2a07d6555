// SPDX-License-Identifier: MIT
#include "generate/albumgenerator.h"

#include <QDir>
#include <QLoggingCategory>

#include "design/cstylesheet.h"
#include "generate/albumimages.h"
#include "generate/basresoutprn.h"
#include "generate/basresoutsimpleindex.h"
#include "generate/basresoutsimplepage.h"
#include "generate/basresoutsimpletop.h"
#include "generate/bastoolsap.h"

Q_LOGGING_CATEGORY(lcGenerate, "lumivert.generate")

QString GenerationResult::userTag() const
{
    return cancelled ? QStringLiteral("ｷｬﾝｾﾙ") : QStringLiteral("OK");
}

namespace AlbumGenerator
{

QString progressText(int step, int i, int n)
{
    static const QString messages[] = {
        QStringLiteral("Step1.目次用画像生成  しばらくお待ちください。"),
        QStringLiteral("Step2.ページ用画像生成  しばらくお待ちください。"),
        QStringLiteral("Step3.HTML生成  しばらくお待ちください。"),
    };
    const QString& message = messages[qBound(1, step, 3) - 1];
    return message + QString::number(i) + QLatin1Char('/') + QString::number(n) + QStringLiteral("...");
}

GenerationResult run(const AlbumOptions& options, const QVector<PhotoRow>& photos, GenerationMode mode,
                     std::stop_token stop, const GenerationProgress& progress)
{
    GenerationResult result;
    const QString album = options.albumFolder();
    const QString sep = QDir::separator();
    auto inAlbum = [&](const QString& name) { return album + sep + name; };
    const int n = int(photos.size());
    auto report = [&](int step, int i) {
        if (progress)
            progress(step, i, n);
    };

    (void)basToolsAp::MakeFolder(album); // normally it exists already
    const bool newAlbum = mode == GenerationMode::NewAlbum;
    const QStringList patterns =
        newAlbum ? QStringList{"*.css", "*.htm", "*.jpg", "*.gif"} : QStringList{"*.css", "*.htm"};
    for (const QString& pattern : patterns)
        (void)basToolsAp::DeleteFiles(inAlbum(pattern));

    const int quality = options.jpegQuality();
    const Imaging::SaveKind pageKind =
        options.progressive ? Imaging::SaveKind::ProgressiveJpeg : Imaging::SaveKind::BaselineJpeg;

    if (newAlbum) {
        // Steps 1 and 2 look at the stop request right after each progress, before the photo's work.
        struct ImageStep {
            int step;
            QString prefix;
            QSize box;
            Imaging::SaveKind kind;
        };
        const ImageStep steps[] = {
            {1, QStringLiteral("index"), options.indexBox(), Imaging::SaveKind::BaselineJpeg},
            {2, QStringLiteral("page"), options.pageBox(), pageKind},
        };
        for (const ImageStep& s : steps) {
            for (int i = 1; i <= n; ++i) {
                report(s.step, i);
                if (stop.stop_requested())
                    break;
                const PhotoRow& photo = photos.at(i - 1);
                const QString target = inAlbum(s.prefix + basResOutPrn::photoNumberText(i) + QStringLiteral(".jpg"));
                if (!AlbumImages::produceAlbumImage(photo.pathName, photo.rotation, s.box, target, s.kind, quality)) {
                    qCInfo(lcGenerate) << "no image" << target << "from" << photo.pathName;
                    result.failedImages.append(target);
                }
            }
        }
    }

    // Both modes: the cover from the page image (of this run or an earlier one), the background.
    (void)AlbumImages::produceCoverImage(album, options.coverNumber, options.coverEffect, pageKind, quality);
    if (options.background && AlbumImages::produceBackgroundImage(options.backgroundFile, album).isEmpty())
        qCInfo(lcGenerate) << "no background from" << options.backgroundFile;

    CStyleSheet styleSheet;
    if (!styleSheet.CreateCSS(options.themePath(), options.colorName, album))
        qCInfo(lcGenerate) << "no style sheet from" << options.themePath();

    basResOutPrn::OutputState output;
    auto pageDone = [&](bool ok, const QString& error) {
        if (!ok) {
            qCWarning(lcGenerate) << "page not written" << output.OutputFileName << error;
            result.failedPages.append(output.OutputFileName);
        }
    };
    QString error;
    output.OutputFileName = inAlbum(QStringLiteral("top.htm"));
    pageDone(basResOutSimpleTop::WriteSimpleTop(options, output.OutputFileName, &error), error);
    output.OutputFileName = inAlbum(QStringLiteral("index.htm"));
    pageDone(basResOutSimpleIndex::WriteSimpleIndex(options, photos, output.OutputFileName, &error), error);
    // Step 3 never stops: a cancel here still leaves every page written.
    for (int i = 1; i <= n; ++i) {
        report(3, i);
        output.OutputFileName = inAlbum(QStringLiteral("page%1.htm").arg(basResOutPrn::photoNumberText(i)));
        pageDone(basResOutSimplePage::WriteSimplePage(options, photos, i, output.OutputFileName, &error), error);
    }

    if (!result.failedPages.isEmpty())
        result.errorText = QStringLiteral("\n･Lumivert作成エラー");
    result.cancelled = stop.stop_requested();
    return result;
}

} // namespace AlbumGenerator
