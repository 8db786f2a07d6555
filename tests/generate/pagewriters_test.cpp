// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QStringList>

#include <map>

#include "generate/basresoutsimpleindex.h"
#include "generate/basresoutsimplepage.h"
#include "generate/basresoutsimpletop.h"

using basResOutPrn::SlotTable;

namespace
{

// A section whose slot i reads "Si", with the given slots replaced: the output shows which slots
// were printed, in which order, and what went into their marks.
SlotTable numbered(const std::map<int, QString>& texts = {})
{
    SlotTable slots;
    for (int i = 1; i <= basResOutPrn::SlotCount; ++i)
        slots.texts[i] = QStringLiteral("S%1").arg(i);
    for (const auto& [slot, text] : texts)
        slots.texts[slot] = text;
    return slots;
}

QStringList lines(const QString& page)
{
    EXPECT_TRUE(page.endsWith(QLatin1String("\r\n")));
    QStringList result = page.split(QStringLiteral("\r\n"));
    result.removeLast();
    return result;
}

QStringList range(int from, int to)
{
    QStringList result;
    for (int i = from; i <= to; ++i)
        result << QStringLiteral("S%1").arg(i);
    return result;
}

QVector<PhotoRow> photos(int count)
{
    QVector<PhotoRow> rows;
    for (int i = 1; i <= count; ++i) {
        PhotoRow row;
        row.pathName = QStringLiteral("/photos/IMG_%1.JPG").arg(i);
        row.fileName = QStringLiteral("IMG_%1.JPG").arg(i);
        row.model = QStringLiteral("Model%1").arg(i);
        row.dateTime = QStringLiteral("2024/05/0%1 10:00:00").arg(i % 10);
        row.tv = QStringLiteral("1/%1sec").arg(i * 100);
        row.av = QStringLiteral("f%1.8").arg(i);
        row.caption = QStringLiteral("caption %1").arg(i);
        rows << row;
    }
    return rows;
}

const std::map<int, QString> indexMarks = {
    {11, "S11 &&"}, {15, "S15 &&"}, {26, "S26 &&"}, {29, "S29 && &&"}, {33, "S33 &&"}};

QStringList indexHead(const AlbumOptions& o)
{
    return range(1, 10) + QStringList{"S11 " + o.widthText()} + range(12, 14) + QStringList{"S15 " + o.title} +
           range(16, 25) + QStringList{"S26 " + o.widthText(), "S27"};
}

} // namespace

TEST(WriteSimpleTop, PrintsSlots1To40WithWidthTitleAndIndexLink)
{
    const SlotTable slots = numbered({{11, "S11 &&"}, {15, "<h1>&&</h1>"}, {26, "S26 &&"}, {35, "S35 &&"}});
    for (int widthIndex : {0, 1, 2}) {
        SCOPED_TRACE(widthIndex);
        AlbumOptions o{.title = "Trip <2024> & more", .pageWidthIndex = widthIndex};
        const QString width = QStringList{"484", "644", "804"}.at(widthIndex);
        const QStringList expected =
            range(1, 10) + QStringList{"S11 " + width} + range(12, 14) + QStringList{"<h1>Trip <2024> & more</h1>"} +
            range(16, 25) + QStringList{"S26 " + width} + range(27, 34) + QStringList{"S35 index.htm"} + range(36, 40);
        EXPECT_EQ(lines(basResOutSimpleTop::WriteSimpleTop(slots, o)), expected);
    }
    // An empty title removes the mark; a title with "&&" takes the line's next mark.
    EXPECT_EQ(lines(basResOutSimpleTop::WriteSimpleTop(slots, AlbumOptions{.title = ""})).at(14), "<h1></h1>");
    const SlotTable twoMarks = numbered({{15, "[&&] [&&]"}});
    EXPECT_EQ(lines(basResOutSimpleTop::WriteSimpleTop(twoMarks, AlbumOptions{.title = "a&&b"})).at(14), "[a&&b] [&&]");
    // An undefined slot prints as an empty line, its value lost.
    SlotTable gap = numbered();
    gap.texts[15].clear();
    EXPECT_EQ(lines(basResOutSimpleTop::WriteSimpleTop(gap, AlbumOptions{})).at(14), "");
}

TEST(WriteSimpleIndex, NoPhotosGivesHeadAndFootOnly)
{
    const AlbumOptions o;
    EXPECT_EQ(lines(basResOutSimpleIndex::WriteSimpleIndex(numbered(indexMarks), o, {})), indexHead(o) + range(39, 42));
}

TEST(WriteSimpleIndex, FivePhotosMakeTwoRowsWithEmptyCells)
{
    AlbumOptions o; // the serial number line only, as at start-up
    QStringList expected = indexHead(o);
    expected << "S28";
    for (int m = 1; m <= 4; ++m)
        expected << QStringLiteral("S29 page00%1.htm index00%1.jpg").arg(m);
    expected << "S31"
             << "S32"
             << "S33 001"
             << "S33 002"
             << "S33 003"
             << "S33 004"
             << "S35" << range(36, 38);
    expected << "S28"
             << "S29 page005.htm index005.jpg"
             << "S30"
             << "S30"
             << "S30"
             << "S31"
             << "S32"
             << "S33 005"
             << "S34"
             << "S34"
             << "S34"
             << "S35" << range(36, 38);
    expected << range(39, 42);
    EXPECT_EQ(lines(basResOutSimpleIndex::WriteSimpleIndex(numbered(indexMarks), o, photos(5))), expected);
}

TEST(WriteSimpleIndex, EightPhotosAllDetailsOffHaveNoEmptyCellAndNoDetailLine)
{
    AlbumOptions o{.indexNo = false};
    QStringList expected = indexHead(o);
    for (int r : {1, 5}) {
        expected << "S28";
        for (int m = r; m < r + 4; ++m)
            expected << QStringLiteral("S29 page00%1.htm index00%1.jpg").arg(m);
        expected << "S31" << range(36, 38);
    }
    expected << range(39, 42);
    EXPECT_EQ(lines(basResOutSimpleIndex::WriteSimpleIndex(numbered(indexMarks), o, photos(8))), expected);
}

TEST(WriteSimpleIndex, DetailLinesComeInFixedOrderWithValuesAsStored)
{
    AlbumOptions o{.indexNo = true, .indexFileName = true, .indexCaption = true, .indexDate = true};
    QVector<PhotoRow> rows = photos(1);
    rows[0].caption = QStringLiteral("two\r\nlines <b>&</b>");
    const QString page = basResOutSimpleIndex::WriteSimpleIndex(numbered(indexMarks), o, rows);
    const QString expected = QStringLiteral("S32\r\nS33 001\r\nS34\r\nS34\r\nS34\r\nS35\r\n"
                                            "S32\r\nS33 IMG_1.JPG\r\nS34\r\nS34\r\nS34\r\nS35\r\n"
                                            "S32\r\nS33 two\r\nlines <b>&</b>\r\nS34\r\nS34\r\nS34\r\nS35\r\n"
                                            "S32\r\nS33 2024/05/01 10:00:00\r\nS34\r\nS34\r\nS34\r\nS35\r\n");
    EXPECT_TRUE(page.contains(expected)) << page.toStdString();
}

TEST(WriteSimpleIndex, SerialNumbersHaveThreeDigits)
{
    AlbumOptions o;
    const QString page = basResOutSimpleIndex::WriteSimpleIndex(numbered(indexMarks), o, photos(100));
    for (const char* serial : {"S33 001\r\n", "S33 010\r\n", "S33 100\r\n"})
        EXPECT_TRUE(page.contains(QLatin1String(serial))) << serial;
    EXPECT_TRUE(page.contains("S29 page100.htm index100.jpg\r\n"));
}

TEST(NaviLinks, DoNotWrap)
{
    struct Case {
        int n, count;
        const char *previous, *counter, *next, *last;
    };
    const Case cases[] = {
        {1, 1, "page001.htm", "001/001", "page001.htm", "page001.htm"},
        {1, 3, "page001.htm", "001/003", "page002.htm", "page003.htm"},
        {2, 3, "page001.htm", "002/003", "page003.htm", "page003.htm"},
        {3, 3, "page002.htm", "003/003", "page003.htm", "page003.htm"},
        {3, 12, "page002.htm", "003/012", "page004.htm", "page012.htm"},
        {1000, 1000, "page999.htm", "1000/1000", "page1000.htm", "page1000.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << "/" << c.count);
        const auto links = basResOutSimplePage::naviLinks(c.n, c.count);
        EXPECT_EQ(links.first, "page001.htm");
        EXPECT_EQ(links.previous, c.previous);
        EXPECT_EQ(links.counter, c.counter);
        EXPECT_EQ(links.next, c.next);
        EXPECT_EQ(links.last, c.last);
    }
}

namespace
{
const std::map<int, QString> pageMarks = {{7, "S7 && &&"}, {12, "S12 &&"}, {16, "S16 &&"},
                                          {20, "S20 &&"},  {27, "S27 &&"}, {30, "S30 && && && && &&"},
                                          {34, "S34 &&"},  {37, "S37 &&"}, {43, "S43 &&"}};

QStringList naviBar(const QString& width, const QString& links)
{
    return QStringList{"S27 " + width, "S28", "S29", "S30 " + links} + range(31, 33);
}
} // namespace

TEST(WriteSimplePage, SinglePhotoPageInSlotOrder)
{
    const AlbumOptions o{.slideShow = true}; // no page turning on the last page
    const QString bar = "page001.htm page001.htm 001/001 page001.htm page001.htm";
    const QStringList expected =
        range(1, 6) + range(8, 11) + QStringList{"S12 484"} + range(13, 15) + QStringList{"S16 Lumivert"} +
        range(17, 19) + QStringList{"S20 page001"} + range(21, 26) + naviBar("484", bar) +
        QStringList{"S34 484", "S35", "S36", "S37 page001.jpg", "S38"} + QStringList{"S42", "S43 caption 1", "S45"} +
        QStringList{"S46", "S47"} + naviBar("484", bar) + QStringList{"S48", "S49"};
    EXPECT_EQ(lines(basResOutSimplePage::WriteSimplePage(numbered(pageMarks), o, photos(1), 1)), expected);
}

TEST(WriteSimplePage, PageTurningLineOnlyBeforeTheLastPage)
{
    const SlotTable slots = numbered(pageMarks);
    const auto rows = photos(3);
    struct Case {
        int n;
        bool slideShow;
        const char* slot7; // nullptr: not printed
    };
    const Case cases[] = {
        {1, true, "S7 5 page002.htm"}, {2, true, "S7 5 page003.htm"}, {3, true, nullptr}, {1, false, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.n << " slideShow " << c.slideShow);
        AlbumOptions o{.slideShow = c.slideShow};
        const QStringList page = lines(basResOutSimplePage::WriteSimplePage(slots, o, rows, c.n));
        EXPECT_EQ(page.at(5), "S6");
        EXPECT_EQ(page.at(6), c.slot7 ? QString::fromLatin1(c.slot7) : QStringLiteral("S8"));
    }
    AlbumOptions o{.slideShow = true, .showTime = "12"};
    EXPECT_EQ(lines(basResOutSimplePage::WriteSimplePage(slots, o, rows, 2)).at(6), "S7 12 page003.htm");
}

TEST(WriteSimplePage, DetailLinesInFixedOrder)
{
    QVector<PhotoRow> rows = photos(2);
    rows[1].caption = QStringLiteral("one\r\ntwo\nthree\rfour");
    struct Case {
        const char* name;
        AlbumOptions options;
        QStringList values;
    };
    const Case cases[] = {
        {"none", AlbumOptions{.pageCaption = false}, {}},
        {"default: caption, CR LF to <BR>", AlbumOptions{}, {"one<BR>two\nthree\rfour"}},
        {"all",
         AlbumOptions{.pageFileName = true, .pageDate = true, .pageModel = true, .pageTv = true, .pageAv = true},
         {"IMG_2.JPG", "one<BR>two\nthree\rfour", "2024/05/02 10:00:00", "Model2 1/200sec f2.8"}},
        {"shutter speed alone", AlbumOptions{.pageCaption = false, .pageTv = true}, {"1/200sec"}},
        {"model and aperture", AlbumOptions{.pageCaption = false, .pageModel = true, .pageAv = true}, {"Model2 f2.8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString page = basResOutSimplePage::WriteSimplePage(numbered(pageMarks), c.options, rows, 2);
        QString expected = "S37 page002.jpg\r\nS38\r\n";
        for (const QString& v : c.values)
            expected += "S42\r\nS43 " + v + "\r\nS45\r\n";
        expected += "S46\r\nS47\r\n";
        EXPECT_TRUE(page.contains(expected)) << page.toStdString();
    }
}

TEST(CameraLine, JoinsWithOneBlankAndSkipsAnEmptyStart)
{
    PhotoRow photo;
    photo.model = "";
    photo.tv = "1/60sec";
    photo.av = "f4";
    const AlbumOptions modelAv{.pageModel = true, .pageAv = true};
    EXPECT_EQ(basResOutSimplePage::cameraLine(modelAv, photo), "f4"); // empty model: the aperture alone
    photo.model = "EOS";
    EXPECT_EQ(basResOutSimplePage::cameraLine(modelAv, photo), "EOS f4");
    EXPECT_EQ(basResOutSimplePage::cameraLine(AlbumOptions{.pageTv = true}, photo), "1/60sec");
    photo.tv = "";
    EXPECT_EQ(basResOutSimplePage::cameraLine(AlbumOptions{.pageModel = true, .pageTv = true, .pageAv = true}, photo),
              "EOS  f4"); // an empty value added to a non-empty line still brings its blank
}

TEST(WriteSimplePage, NavigationBarMarksAndSection)
{
    const auto rows = photos(3);
    // Extra marks stay; missing marks lose the links.
    const QString extra = basResOutSimplePage::WriteSimplePage(numbered({{30, "&& && && && && &&"}}), {}, rows, 2);
    EXPECT_EQ(extra.count("page001.htm page001.htm 002/003 page003.htm page003.htm &&\r\n"), 2);
    const QString fewer = basResOutSimplePage::WriteSimplePage(numbered({{30, "[&&]"}}), {}, rows, 2);
    EXPECT_EQ(fewer.count("[page001.htm]\r\n"), 2);

    EXPECT_EQ(basResOutSimplePage::sectionName(AlbumOptions{}), "SimplePage");
    EXPECT_EQ(basResOutSimplePage::sectionName(AlbumOptions{.japaneseNavi = true}), "SimplePageJ");
}

TEST(PageWriters, TextFromPhotoFilesIsEscapedWhatTheAuthorTypedIsNot)
{
    const QString hostile = QStringLiteral("\"><script>alert(1)</script>'&&");
    const QString escaped = QStringLiteral("&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&#39;&amp;&amp;");
    QVector<PhotoRow> rows = photos(1);
    rows[0].fileName = hostile + "a.jpg";
    rows[0].model = hostile + "model";
    rows[0].dateTime = hostile + "date";
    rows[0].tv = hostile + "tv";
    rows[0].av = hostile + "av";
    rows[0].caption = QStringLiteral("<b>Sunset</b>\r\nby the sea");
    const AlbumOptions o{.title = "<em>Trip</em>",
                         .coverNumber = 1,
                         .indexFileName = true,
                         .indexCaption = true,
                         .indexDate = true,
                         .pageFileName = true,
                         .pageDate = true,
                         .pageModel = true,
                         .pageTv = true,
                         .pageAv = true};
    const QString index = basResOutSimpleIndex::WriteSimpleIndex(numbered(indexMarks), o, rows);
    const QString page = basResOutSimplePage::WriteSimplePage(numbered(pageMarks), o, rows, 1);
    for (const QString* text : {&index, &page}) {
        EXPECT_FALSE(text->contains("<script>")) << text->toStdString();
        EXPECT_TRUE(text->contains("<em>Trip</em>"));
    }
    EXPECT_TRUE(index.contains("S33 " + escaped + "a.jpg\r\n"));
    EXPECT_TRUE(index.contains("S33 " + escaped + "date\r\n"));
    EXPECT_TRUE(index.contains("S33 <b>Sunset</b>\r\nby the sea\r\n"));
    EXPECT_TRUE(page.contains("S43 " + escaped + "a.jpg\r\n"));
    EXPECT_TRUE(page.contains("S43 " + escaped + "date\r\n"));
    EXPECT_TRUE(page.contains("S43 <b>Sunset</b><BR>by the sea\r\n"));
    EXPECT_TRUE(page.contains(QStringLiteral("S43 %1model %1tv %1av\r\n").arg(escaped)));
}

TEST(AltText, CaptionAsPlainTextElseFileNameElseNumber)
{
    struct Case {
        const char* caption;
        const char* fileName;
        const char* expected;
    };
    const Case cases[] = {
        {"<b>Sunset</b> at\r\nthe <i>sea</i>", "x.jpg", "Sunset at the sea"},
        {"one<br>two<BR/>three</p><p>four", "x.jpg", "one two three four"},
        {"Tom &amp; Jerry &lt;3 &#x41;&#66; &nbsp;&copy; &#0; 5 < 6", "x.jpg",
         "Tom &amp; Jerry &lt;3 AB &amp;copy; &amp;#0; 5 &lt; 6"},
        {"\"quoted\" 'single' a > b", "x.jpg", "&quot;quoted&quot; &#39;single&#39; a &gt; b"},
        {"  <br> \r\n ", "IMG_1.JPG", "IMG_1.JPG"},
        {"", "\"><img src=x>.jpg", "&quot;&gt;&lt;img src=x&gt;.jpg"},
        {"", "", "007"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        PhotoRow photo;
        photo.caption = QString::fromUtf8(c.caption);
        photo.fileName = QString::fromUtf8(c.fileName);
        EXPECT_EQ(basResOutPrn::altText(photo, 7), QString::fromUtf8(c.expected));
    }
}

TEST(PageWriters, ImagesGetTheirTextAlternativeInTheLastMark)
{
    QVector<PhotoRow> rows = photos(2);
    rows[1].caption.clear();
    rows[1].fileName = QStringLiteral("IMG_2\"<b>.JPG");
    // Cover: slot 35 takes "index.htm", then the cover photo's alt text (none without a cover).
    const SlotTable top = numbered({{35, "<a href=\"&&\"><img alt=\"&&\"></a>"}});
    EXPECT_EQ(lines(basResOutSimpleTop::WriteSimpleTop(top, AlbumOptions{.coverNumber = 2}, rows)).at(34),
              "<a href=\"index.htm\"><img alt=\"IMG_2&quot;&lt;b&gt;.JPG\"></a>");
    EXPECT_EQ(lines(basResOutSimpleTop::WriteSimpleTop(top, AlbumOptions{.coverNumber = 3}, rows)).at(34),
              "<a href=\"index.htm\"><img alt=\"\"></a>");
    // Index: slot 29 takes page, thumbnail, alt text.
    const QString index =
        basResOutSimpleIndex::WriteSimpleIndex(numbered({{29, "S29 && && [&&]"}}), AlbumOptions{}, rows);
    EXPECT_TRUE(index.contains(
        "S29 page001.htm index001.jpg [caption 1]\r\nS29 page002.htm index002.jpg [IMG_2&quot;&lt;b&gt;.JPG]\r\n"));
    // Photo page: slot 37 takes the image, then its alt text.
    const QString page = basResOutSimplePage::WriteSimplePage(numbered({{37, "S37 && [&&]"}}), AlbumOptions{}, rows, 1);
    EXPECT_TRUE(page.contains("S37 page001.jpg [caption 1]\r\n"));
}

// The image lines' last mark takes width, height and srcset with the choice on, nothing with it
// off; a template without that mark writes the line as it always did.
TEST(ImageMarks, SizesAndSecondImagesGoIntoTheLastMarkOnly)
{
    const basResOutPrn::ImageSizes sized{QSize(480, 360), QSize(960, 720)};
    const basResOutPrn::ImageSizes small{QSize(480, 360), QSize(700, 525)};
    const basResOutPrn::ImageSizes alone{QSize(480, 360), QSize()};
    EXPECT_EQ(basResOutPrn::imageAttributes("page001.jpg", sized),
              " width=\"480\" height=\"360\" srcset=\"page001.jpg 1x, page001@2x.jpg 2x\"");
    EXPECT_EQ(basResOutPrn::imageAttributes("index002.jpg", small),
              " width=\"480\" height=\"360\" srcset=\"index002.jpg 1x, index002@2x.jpg 1.458x\"");
    EXPECT_EQ(basResOutPrn::imageAttributes("top.jpg", alone), " width=\"480\" height=\"360\"");
    EXPECT_EQ(basResOutPrn::imageAttributes("top.jpg", {}), "");

    const QVector<PhotoRow> rows = photos(1);
    for (const bool withMark : {true, false}) {
        for (const bool on : {true, false}) {
            SCOPED_TRACE(testing::Message() << "mark " << withMark << " on " << on);
            AlbumOptions o;
            o.highDensity = on;
            o.coverNumber = 1;
            const QString extra = withMark ? QStringLiteral("&&") : QString();
            const QString expectAttributes =
                withMark && on ? QStringLiteral(" width=\"480\" height=\"360\" srcset=\"%1 1x, %2 2x\"") : QString();
            const QString top = basResOutSimpleTop::WriteSimpleTop(
                numbered({{35, "<a href=\"&&\"><img src=\"top.jpg\" alt=\"&&\"" + extra + "></a>"}}), o, rows, true,
                sized);
            EXPECT_TRUE(lines(top).contains("<a href=\"index.htm\"><img src=\"top.jpg\" alt=\"caption 1\"" +
                                            expectAttributes.arg("top.jpg", "top@2x.jpg") + "></a>"));
            const QString index = basResOutSimpleIndex::WriteSimpleIndex(
                numbered({{29, "<a href=\"&&\"><img src=\"&&\" alt=\"&&\"" + extra + "></a>"}}), o, rows, {}, {sized});
            EXPECT_TRUE(lines(index).contains("<a href=\"page001.htm\"><img src=\"index001.jpg\" alt=\"caption 1\"" +
                                              expectAttributes.arg("index001.jpg", "index001@2x.jpg") + "></a>"));
            const QString page = basResOutSimplePage::WriteSimplePage(
                numbered({{37, "<img src=\"&&\" alt=\"&&\"" + extra + ">"}}), o, rows, 1, true, sized);
            EXPECT_TRUE(lines(page).contains("<img src=\"page001.jpg\" alt=\"caption 1\"" +
                                             expectAttributes.arg("page001.jpg", "page001@2x.jpg") + ">"));
        }
    }
}
