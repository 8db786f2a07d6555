// SPDX-License-Identifier: MIT
#include "generate/basresoutsimpletop.h"

namespace basResOutSimpleTop
{

using basResOutPrn::ReplaceMark;

QString WriteSimpleTop(const basResOutPrn::SlotTable& slots, const AlbumOptions& options)
{
    const QString widthText = options.widthText();
    basResOutPrn::PageText out;
    for (int s = 1; s <= 10; ++s)
        out.print(slots.text(s));
    out.print(ReplaceMark(slots.text(11), widthText));
    for (int s = 12; s <= 14; ++s)
        out.print(slots.text(s));
    out.print(ReplaceMark(slots.text(15), options.title));
    for (int s = 16; s <= 25; ++s)
        out.print(slots.text(s));
    out.print(ReplaceMark(slots.text(26), widthText));
    for (int s = 27; s <= 34; ++s)
        out.print(slots.text(s));
    out.print(ReplaceMark(slots.text(35), QStringLiteral("index.htm")));
    for (int s = 36; s <= 40; ++s)
        out.print(slots.text(s));
    return out.text();
}

bool WriteSimpleTop(const AlbumOptions& options, const QString& outputFileName, QString* error)
{
    const auto text = basResOutPrn::readTemplateFile(options.templateFilePath(), error);
    if (!text)
        return false;
    const auto slots = basResOutPrn::ReadFormatSection(text->text, SectionName, error);
    if (!slots)
        return false;
    return basResOutPrn::writePageFile(outputFileName, WriteSimpleTop(*slots, options), text->encoding, error);
}

} // namespace basResOutSimpleTop
