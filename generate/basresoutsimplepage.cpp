// SPDX-License-Identifier: MIT
#include "generate/basresoutsimplepage.h"

#include "generate/albumwords.h"

namespace basResOutSimplePage
{

using basResOutPrn::escapeHtml;
using basResOutPrn::photoNumberText;
using basResOutPrn::ReplaceMark;

namespace
{
QString pageFile(int n)
{
    return QStringLiteral("page%1.htm").arg(photoNumberText(n));
}
} // namespace

NaviLinks naviLinks(int n, int count)
{
    NaviLinks links;
    links.first = pageFile(1);
    links.previous = n < 2 ? pageFile(1) : pageFile(n - 1);
    links.counter = photoNumberText(n) + QLatin1Char('/') + photoNumberText(count);
    links.next = n < count ? pageFile(n + 1) : pageFile(count);
    links.last = pageFile(count);
    return links;
}

QString sectionName(const AlbumOptions& options)
{
    return options.japaneseNavi ? QStringLiteral("SimplePageJ") : QStringLiteral("SimplePage");
}

QString cameraLine(const AlbumOptions& options, const PhotoRow& photo)
{
    QString line;
    auto add = [&line](const QString& value) { line = line.isEmpty() ? value : line + QLatin1Char(' ') + value; };
    // The list's texts in the album's words: "Unknown" in an English album, no "0/0sec".
    const auto shown = [&options](const QString& text) { return escapeHtml(AlbumWords::shooting(text, options)); };
    if (options.pageModel)
        add(shown(photo.model));
    if (options.pageTv)
        add(shown(photo.tv));
    if (options.pageAv)
        add(shown(photo.av));
    return line;
}

QString captionLine(const QString& caption)
{
    QString line = caption;
    line.replace(QLatin1String("\r\n"), QLatin1String("<BR>"));
    return line;
}

void WriteNaviBar(basResOutPrn::PageText& out, const QString& widthText, const basResOutPrn::SlotTable& slots,
                  const NaviLinks& links)
{
    out.print(ReplaceMark(slots.text(27), widthText));
    out.print(slots.text(28));
    out.print(slots.text(29));
    QString bar = slots.text(30);
    for (const QString* link : {&links.first, &links.previous, &links.counter, &links.next, &links.last})
        bar = ReplaceMark(bar, *link);
    out.print(bar);
    out.printSlots(slots, 31, 33);
}

QString WriteSimplePage(const basResOutPrn::SlotTable& slots, const AlbumOptions& options,
                        const QVector<PhotoRow>& photos, int n, bool hasImage,
                        const basResOutPrn::ImageSizes& imageSizes)
{
    Q_ASSERT(n >= 1 && n <= photos.size());
    const int count = int(photos.size());
    const NaviLinks links = naviLinks(n, count);
    const QString widthText = options.widthText();
    const QString nnn = photoNumberText(n);
    const PhotoRow& photo = photos.at(n - 1);

    basResOutPrn::PageText out;
    out.printSlots(slots, 1, 6);
    if (n < count && options.slideShow)
        out.print(ReplaceMark(ReplaceMark(slots.text(7), options.showTime), links.next));
    out.printSlots(slots, 8, 11);
    out.print(ReplaceMark(slots.text(12), widthText));
    out.printSlots(slots, 13, 15);
    out.print(ReplaceMark(slots.text(16), options.title));
    out.printSlots(slots, 17, 19);
    out.print(ReplaceMark(slots.text(20), QStringLiteral("page") + nnn));
    out.printSlots(slots, 21, 26);

    WriteNaviBar(out, widthText, slots, links);

    out.print(ReplaceMark(slots.text(34), widthText));
    out.print(slots.text(35));
    out.print(slots.text(36));
    // A photo without a page image (it could not be read) gets the template's note in its place,
    // when the template has one, rather than a broken image.
    if (!hasImage && !slots.text(MissingImageSlot).isEmpty())
        out.print(slots.text(MissingImageSlot));
    else {
        const QString image = QStringLiteral("page%1.jpg").arg(nnn);
        const QString line = ReplaceMark(ReplaceMark(slots.text(37), image), basResOutPrn::altText(photo, n));
        out.print(
            ReplaceMark(line, options.highDensity ? basResOutPrn::imageAttributes(image, imageSizes) : QString()));
    }
    out.print(slots.text(38));

    auto detail = [&](const QString& value) {
        out.print(slots.text(42));
        out.print(ReplaceMark(slots.text(43), value));
        out.print(slots.text(45));
    };
    // The caption goes in as the author typed it; what the photo file gave is escaped.
    if (options.pageFileName)
        detail(escapeHtml(photo.fileName));
    if (options.pageCaption)
        detail(captionLine(photo.caption));
    if (options.pageDate)
        detail(escapeHtml(AlbumWords::shooting(photo.dateTime, options)));
    if (options.pageModel || options.pageTv || options.pageAv)
        detail(cameraLine(options, photo));

    out.print(slots.text(46));
    out.print(slots.text(47));
    WriteNaviBar(out, widthText, slots, links);
    out.print(slots.text(48));
    out.print(slots.text(49));
    return out.text();
}

} // namespace basResOutSimplePage
