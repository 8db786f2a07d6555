// SPDX-License-Identifier: MIT
#include "generate/albumoptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

#include "components/photorow.h"
#include "design/ccolor.h"

namespace
{

QString joinPath(const QString& folder, const QString& name)
{
    return QDir::toNativeSeparators(folder) + QDir::separator() + name;
}

// Per page-width index: the page width, the index image's box and the page image's box.
constexpr struct {
    int width;
    QSize indexBox, pageBox;
} PageSizes[] = {{480, {100, 75}, {480, 360}}, {640, {140, 105}, {640, 480}}, {800, {180, 135}, {800, 600}}};
// Per quality index: the JPEG quality.
constexpr int JpegQualities[] = {50, 75, 100};

// An index outside the list means the last entry, as the window's "any other" does.
template <typename T, std::size_t N> const T& entry(const T (&table)[N], int index)
{
    return table[index >= 0 && index < int(N) ? index : int(N) - 1];
}

} // namespace

std::span<const AlbumOptions::Choice> AlbumOptions::choices()
{
    static const Choice table[] = {
        {"width",
         &AlbumOptions::pageWidthIndex,
         {"480", "640", "800"},
         QT_TRANSLATE_NOOP("Cli", "ページ幅（ピクセル）")},
        {"quality", &AlbumOptions::qualityIndex, {"low", "standard", "high"}, QT_TRANSLATE_NOOP("Cli", "JPEGの画質")},
    };
    return table;
}

std::span<const AlbumOptions::Switch> AlbumOptions::switches()
{
    static const Switch table[] = {
        {"progressive", &AlbumOptions::progressive, "progressive",
         QT_TRANSLATE_NOOP("Cli", "ページと表紙の写真をプログレッシブ形式のJPEGにする")},
        {"background", &AlbumOptions::background, nullptr, nullptr},
        {"indexNo", &AlbumOptions::indexNo, nullptr, nullptr},
        {"indexFileName", &AlbumOptions::indexFileName, nullptr, nullptr},
        {"indexCaption", &AlbumOptions::indexCaption, nullptr, nullptr},
        {"indexDate", &AlbumOptions::indexDate, nullptr, nullptr},
        {"pageFileName", &AlbumOptions::pageFileName, nullptr, nullptr},
        {"pageCaption", &AlbumOptions::pageCaption, nullptr, nullptr},
        {"pageDate", &AlbumOptions::pageDate, nullptr, nullptr},
        {"pageModel", &AlbumOptions::pageModel, nullptr, nullptr},
        {"pageTv", &AlbumOptions::pageTv, nullptr, nullptr},
        {"pageAv", &AlbumOptions::pageAv, nullptr, nullptr},
        {"japaneseNavi", &AlbumOptions::japaneseNavi, "japanese-navi",
         QT_TRANSLATE_NOOP("Cli", "ナビゲーションバーを日本語表示にする")},
        {"slideShow", &AlbumOptions::slideShow, nullptr, nullptr},
        // lumivert-cli's --density 1|2 sets it (a choice of two numbers for one switch).
        {"highDensity", &AlbumOptions::highDensity, nullptr, nullptr, true},
    };
    return table;
}

QStringList AlbumOptions::colorNames()
{
    static const QStringList names = [] {
        QStringList list;
        const CColor table;
        for (int i = 1; i <= table.Color().Count(); ++i)
            list << table.Color().Item(i)->ColorName;
        return list;
    }();
    return names;
}

std::optional<int> AlbumOptions::wordIndex(const Choice& choice, const QString& word)
{
    const qsizetype at = choice.words.indexOf(word);
    return at < 0 ? std::nullopt : std::optional<int>(int(at));
}

bool AlbumOptions::validCover(int number)
{
    return number >= 0 && number <= MaxPhotos;
}

bool AlbumOptions::validShowTime(const QString& text, bool forSlideShow)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{0,%1}$").arg(ShowTimeDigits));
    return digits.match(text).hasMatch() && (!forSlideShow || text.toInt() >= 1);
}

int AlbumOptions::coverFor(int photoCount) const
{
    if (photoCount < 1)
        return 0;
    return coverNumber >= 1 && coverNumber <= photoCount ? coverNumber : 1;
}

int AlbumOptions::pageWidth() const
{
    return entry(PageSizes, pageWidthIndex).width;
}
QSize AlbumOptions::indexBox() const
{
    return entry(PageSizes, pageWidthIndex).indexBox;
}
QSize AlbumOptions::pageBox() const
{
    return entry(PageSizes, pageWidthIndex).pageBox;
}
int AlbumOptions::jpegQuality() const
{
    return entry(JpegQualities, qualityIndex);
}
QString AlbumOptions::albumFolder() const
{
    return joinPath(photoFolder, QStringLiteral("Lumivert"));
}
QString AlbumOptions::templateFilePath() const
{
    return joinPath(programFolder, QStringLiteral("Lumivert.fmt"));
}
QString AlbumOptions::themePath() const
{
    return QDir::isAbsolutePath(QDir::fromNativeSeparators(themeFile)) ? QDir::toNativeSeparators(themeFile)
                                                                       : joinPath(programFolder, themeFile);
}
