// SPDX-License-Identifier: MIT
// The page template reader on arbitrary bytes: decoding (UTF-8 or Shift_JIS), every section the
// page writers ask for, and the insertion rule on whatever slots come back.
#include <QStringList>

#include "fuzzcommon.h"
#include "generate/basresoutprn.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const basResOutPrn::TemplateText tmpl = basResOutPrn::decodeTemplate(FuzzCommon::bytes(data, size));
    static const QStringList sections = {QStringLiteral("SimpleTop"), QStringLiteral("SimpleIndex"),
                                         QStringLiteral("SimplePage"), QStringLiteral("SimplePageJ")};
    for (const QString& name : sections) {
        QString error;
        const auto slots = basResOutPrn::ReadFormatSection(tmpl.text, name, &error);
        if (!slots)
            continue;
        if (slots->count < 0)
            __builtin_trap();
        basResOutPrn::PageText page;
        for (int i = 1; i <= basResOutPrn::SlotCount; ++i)
            page.print(basResOutPrn::ReplaceMark(basResOutPrn::ReplaceMark(slots->text(i), QStringLiteral("a&&b")),
                                                 QStringLiteral("x")));
    }
    basResOutPrn::readNumberField(tmpl.text.left(3));
    return 0;
}
