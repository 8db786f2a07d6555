// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>

/// Everything an album generation or a preview needs besides the photo list: the Step3 page's
/// controls, the cover number and the background file, read once when the job starts (or built
/// from command-line flags). Defaults are the main window's initial values.
struct AlbumOptions {
    QString photoFolder;          // txtFolder; the album goes to photoFolder/Lumivert
    QString programFolder;        // where Lumivert.fmt, the *.css themes and Preview/ live

    QString title = QStringLiteral("Lumivert");  // txtTitle, inserted into the pages as it is
    int pageWidthIndex = 0;       // optPageWidth: 0 = 480, 1 = 640, 2 (and any other) = 800
    int qualityIndex = 1;         // optJpegQuality: 0 = 50, 1 = 75, 2 (and any other) = 100
    bool progressive = false;     // chkJpegProgress
    bool highDensity = true;      // chkHighDensity: second images at twice the box (srcset)

    int coverNumber = 0;          // the cover photo's row (IkDisp1's tag); 0 = none
    int coverEffect = 0;          // cboTopFilter index 0..5; -1 = nothing selected

    bool background = false;      // optBackImage index 1 "背景画像あり"
    QString backgroundFile;       // full path of the chosen background image

    QString themeFile;            // cboTheme text: a file name in programFolder
    QString colorName = QStringLiteral("navy");  // CColor::ColorName()

    bool indexNo = true;          // chkIndexNo "連番"
    bool indexFileName = false;   // chkIndexFileName
    bool indexCaption = false;    // chkindexCaption
    bool indexDate = false;       // chkIndexDate

    bool pageFileName = false;    // chkPageFileName
    bool pageCaption = true;      // chkPageCaption
    bool pageDate = false;        // chkPageDate
    bool pageModel = false;       // chkPageModel
    bool pageTv = false;          // chkPageTv
    bool pageAv = false;          // chkPageAv

    bool japaneseNavi = false;    // chkNavi: section "SimplePageJ" instead of "SimplePage"
    bool slideShow = false;       // chkSlideShow
    QString showTime = QStringLiteral("5");  // txtShowTime, inserted as it is

    bool operator==(const AlbumOptions&) const = default;

    int pageWidth() const { return pageWidthIndex == 0 ? 480 : pageWidthIndex == 1 ? 640 : 800; }
    /// The page width plus 4 as decimal text: "484", "644" or "804".
    QString widthText() const { return QString::number(pageWidth() + 4); }
    QSize indexBox() const
    {
        return pageWidthIndex == 0 ? QSize(100, 75) : pageWidthIndex == 1 ? QSize(140, 105) : QSize(180, 135);
    }
    QSize pageBox() const
    {
        return pageWidthIndex == 0 ? QSize(480, 360) : pageWidthIndex == 1 ? QSize(640, 480) : QSize(800, 600);
    }
    int jpegQuality() const { return qualityIndex == 0 ? 50 : qualityIndex == 1 ? 75 : 100; }
    QString albumFolder() const;      // photoFolder + separator + "Lumivert"
    QString templateFilePath() const; // programFolder + separator + "Lumivert.fmt"
    QString themePath() const;        // programFolder + separator + themeFile
};
