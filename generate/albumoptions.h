// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

/// Everything an album generation or a preview needs besides the photo list: the Step3 page's
/// controls, the cover number and the background file, read once when the job starts (or built
/// from command-line flags). The member initialisers are the start values of the window's
/// controls, of lumivert-cli and of a folder without Lumivert.opt; the tables below are the only
/// place the choices and limits are written, and the window, the options file and the command
/// line all check against them.
struct AlbumOptions {
    QString photoFolder;   // txtFolder; the album goes to photoFolder/Lumivert
    QString programFolder; // where Lumivert.fmt, the *.css themes and Preview/ live

    QString title = QStringLiteral("Lumivert"); // txtTitle, inserted into the pages as it is
    int pageWidthIndex = 0;                     // optPageWidth: 0 = 480, 1 = 640, 2 (and any other) = 800
    int qualityIndex = 1;                       // optJpegQuality: 0 = 50, 1 = 75, 2 (and any other) = 100
    bool progressive = false;                   // chkJpegProgress
    bool highDensity = true;                    // chkHighDensity: second images at twice the box (srcset)

    int coverNumber = 0; // the cover photo's row (IkDisp1's tag); 0 = none
    int coverEffect = 0; // cboTopFilter index 0..5; -1 = nothing selected

    bool background = false; // optBackImage index 1 "背景画像あり"
    QString backgroundFile;  // full path of the chosen background image

    QString themeFile;                          // cboTheme text: a file name in programFolder, or a full path
    QString colorName = QStringLiteral("navy"); // CColor::ColorName()

    bool indexNo = true;        // chkIndexNo "連番"
    bool indexFileName = false; // chkIndexFileName
    bool indexCaption = false;  // chkindexCaption
    bool indexDate = false;     // chkIndexDate

    bool pageFileName = false; // chkPageFileName
    bool pageCaption = true;   // chkPageCaption
    bool pageDate = false;     // chkPageDate
    bool pageModel = false;    // chkPageModel
    bool pageTv = false;       // chkPageTv
    bool pageAv = false;       // chkPageAv

    bool japaneseNavi = false;              // chkNavi: section "SimplePageJ" instead of "SimplePage"
    bool slideShow = false;                 // chkSlideShow
    QString showTime = QStringLiteral("5"); // txtShowTime, inserted as it is

    bool operator==(const AlbumOptions&) const = default;

    // ---- The limits ----------------------------------------------------------------------------
    static constexpr int MaxTitleLength = 80; // characters, as txtTitle takes them
    static constexpr int EffectCount = 6;     // cboTopFilter's entries: 0 (none) .. 5
    static constexpr int ShowTimeDigits = 2;  // txtShowTime: up to two digits

    // ---- The choices ---------------------------------------------------------------------------
    /// An option chosen from a fixed list of words (a group of option buttons in the window): its
    /// index member holds the position of the word. The words are what Lumivert.opt stores and
    /// what lumivert-cli takes. A new choice is one more row of choices() (and its control).
    struct Choice {
        const char* key;           // Lumivert.opt's key and lumivert-cli's --flag
        int AlbumOptions::*member; // the index of the chosen word
        QStringList words;         // in index order
        const char* help;          // lumivert-cli's --help line (translated in the "Cli" context)
        /// An option added after the first Lumivert.opt files: one without its key takes the first
        /// word, as albums were made before it (the first options' keys must all be there, or the
        /// file is taken as damaged).
        bool addedLater = false;
    };
    static std::span<const Choice> choices();

    /// A yes/no option: its Lumivert.opt key, and lumivert-cli's flag when it has one of its own
    /// (the details of the index and the pages are set through lists instead).
    struct Switch {
        const char* key;
        bool AlbumOptions::*member;
        const char* flag; // nullptr: no flag of its own
        const char* help;
        bool addedLater = false; // as Choice::addedLater; a missing key reads as off
    };
    static std::span<const Switch> switches();

    /// The sixteen colour names of CColor's table, in picker order.
    static QStringList colorNames();

    /// The index of word in the choice's list, nothing when it is not one of them.
    static std::optional<int> wordIndex(const Choice& choice, const QString& word);

    static bool validTitle(const QString& title) { return title.size() <= MaxTitleLength; }
    static bool validColor(const QString& name) { return colorNames().contains(name); }
    static bool validEffect(int effect) { return effect >= 0 && effect < EffectCount; }
    static bool validCover(int number); // 0 (none) .. the most photos a list holds
    /// The show-time box's text: up to two digits; a slide show needs at least 1 second.
    static bool validShowTime(const QString& text, bool forSlideShow = false);

    /// The cover for a list of photoCount photos: the number when the list holds it, else the first
    /// photo (0 for an empty list).
    int coverFor(int photoCount) const;

    // ---- What the indexes stand for ------------------------------------------------------------
    int pageWidth() const;
    /// The page width plus 4 as decimal text: "484", "644" or "804".
    QString widthText() const { return QString::number(pageWidth() + 4); }
    QSize indexBox() const;
    QSize pageBox() const;
    int jpegQuality() const;
    QString albumFolder() const;      // photoFolder + separator + "Lumivert"
    QString templateFilePath() const; // programFolder + separator + "Lumivert.fmt"
    QString themePath() const;        // programFolder + separator + themeFile; themeFile when a full path
};
