// SPDX-License-Identifier: MIT
#include "generate/basresoutsimpletop.h"

namespace basResOutSimpleTop
{

using basResOutPrn::ReplaceMark;

QString WriteSimpleTop(const basResOutPrn::SlotTable& slots, const AlbumOptions& options, bool hasCoverImage)
{
    const QString widthText = options.widthText();
    basResOutPrn::PageText out;
    out.printHead(slots, widthText, options.title);
    out.printSlots(slots, 27, 34);
    const bool note = !hasCoverImage && !slots.text(MissingImageSlot).isEmpty();
    out.print(ReplaceMark(slots.text(note ? MissingImageSlot : 35), QStringLiteral("index.htm")));
    out.printSlots(slots, 36, 40);
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
