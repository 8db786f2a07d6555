// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "components/textcodepage.h"

struct PhotoRow;

/// The page template "Lumivert.fmt" and the rules every page writer shares: reading one section
/// into numbered line slots, filling insertion marks, and the text of the page being written.
///
/// A section starts at the first line that is exactly its name and ends at the next line that is
/// exactly "End". Lines between are comments (first character "'") or numbered lines: columns 1-3
/// the slot number, column 5 the kind digit, column 6 on the text. Pure functions; any thread.
namespace basResOutPrn
{

inline constexpr int SlotCount = 50;

/// Slots 1..50 of one section (index 0 unused): texts empty and kind digits 0 until a line names them.
struct SlotTable {
    std::array<QString, SlotCount + 1> texts;
    std::array<int, SlotCount + 1> kinds{};
    int count = 0; // numbered lines read (comments not counted)

    const QString& text(int slot) const { return texts.at(slot); }
};

/// The whole template file as text, decoded once. The shipped file is UTF-8 (the system code page
/// here); a user's own file that is not valid UTF-8 is read as Shift_JIS, and the pages are then
/// written in that same encoding, so the charset its HTML declares stays true.
using TemplateText = TextCodePage::Decoded;

[[nodiscard]] std::optional<TemplateText> readTemplateFile(const QString& path, QString* error = nullptr);
/// Decodes template bytes as readTemplateFile does.
TemplateText decodeTemplate(const QByteArray& bytes);

/// The section's slots, or nothing when the section is missing, has no "End", or holds a line
/// whose slot number is outside 1..50 (an empty line, "End " and " 'comment" included).
[[nodiscard]] std::optional<SlotTable> ReadFormatSection(const QString& templateText, const QString& sectionName,
                                                         QString* error = nullptr);
/// The same read from the file at path.
[[nodiscard]] std::optional<SlotTable> readFormatSectionFile(const QString& path, const QString& sectionName,
                                                             QString* error = nullptr);

/// The line with its first "&&" replaced by value; unchanged without a mark. Values go in as they
/// are: the template owns the HTML.
QString ReplaceMark(const QString& line, const QString& value);

/// Text that comes from a photo file (file name, camera model, date, exposure texts) made into
/// page data: "&", "<", ">", '"' and "'" become character references, so it can neither open
/// markup nor leave an attribute. What the author types (title, captions) is not passed through it.
QString escapeHtml(const QString& text);

/// Markup as the plain text a reader sees, on one line: tags dropped (a line-breaking or block tag
/// counts as a blank), the common character references decoded, every run of blanks and line
/// breaks made one blank, blanks at both ends removed.
QString plainText(const QString& markup);

/// The text alternative of photo n's images, safe inside a double- or single-quoted attribute:
/// its caption as plain text, else its file name, else its number NNN.
QString altText(const PhotoRow& photo, int n);

/// The name of an album image's second image for high-density screens: "@2x" before the
/// extension ("page001.jpg" gives "page001@2x.jpg").
QString secondImageName(const QString& fileName);

/// An album image's size as the page states it, and that of its second image (invalid: none).
struct ImageSizes {
    QSize design;
    QSize second;
};

/// What goes into the mark a template puts after an image's own marks, when the album has second
/// images: ' width="W" height="H"' (the design image's size, so the page does not jump while it
/// loads) and, with a second image, ' srcset="NAME 1x, NAME@2x.jpg Dx"' where D is the second
/// image's width over the design image's (2, or less for a small photo). Empty without a size.
QString imageAttributes(const QString& fileName, const ImageSizes& sizes);

/// Reads a field the way the template's number columns are read: blanks skipped, reading stops at
/// the first character that cannot continue a decimal number, nothing numeric gives 0, a fraction
/// is rounded to the nearest whole number (halves to even).
int readNumberField(const QString& field);

/// NNN: the number with at least three digits ("001", "010", "999", "1000").
QString photoNumberText(int n);

/// The page being written: one line per printed slot, each ended by CR LF.
class PageText
{
public:
    void print(const QString& line)
    {
        m_text += line;
        m_text += QLatin1String("\r\n");
    }
    /// Prints the slots first..last unchanged, in order.
    template <typename Slots> void printSlots(const Slots& slots, int first, int last)
    {
        for (int s = first; s <= last; ++s)
            print(slots.text(s));
    }
    /// Slots 1 to 26 as the cover and index pages print them: 11 and 26 take the width text, 15 the
    /// album title.
    template <typename Slots> void printHead(const Slots& slots, const QString& widthText, const QString& title)
    {
        printSlots(slots, 1, 10);
        print(ReplaceMark(slots.text(11), widthText));
        printSlots(slots, 12, 14);
        print(ReplaceMark(slots.text(15), title));
        printSlots(slots, 16, 25);
        print(ReplaceMark(slots.text(26), widthText));
    }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

/// The shared output state: the page the next writer call writes. Set by the driver.
struct OutputState {
    QString OutputFileName;
};

/// Writes a whole page in the template's encoding. The file appears complete or not at all (an
/// earlier page of that name stays when the write fails).
[[nodiscard]] bool writePageFile(const QString& path, const QString& pageText, const QByteArray& encoding = "UTF-8",
                                 QString* error = nullptr);

} // namespace basResOutPrn
