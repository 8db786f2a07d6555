// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "components/textcodepage.h"
#include "design/stylesheetbackground.h"

namespace
{
// The rule on a style sheet as its bytes: decoded and encoded back by the code-page rule.
QByteArray drop(const QByteArray& css, const QStringList& present)
{
    const TextCodePage::Decoded text = TextCodePage::decode(css);
    return TextCodePage::encode(
        StyleSheetBackground::dropMissing(text.text, [&](const QString& name) { return present.contains(name); }),
        text.encoding);
}
} // namespace

TEST(StyleSheetBackground, KeepsOnlyTheBackgroundTheAlbumHolds)
{
    const QByteArray twoUrls =
        "html {\r\n  background-image: url(\"background.jpg\"), url(\"background.gif\");\r\n}\r\n";
    struct Case {
        const char* name;
        QByteArray css;
        QStringList present;
        QByteArray expected;
    };
    const Case cases[] = {
        {"jpg only",
         twoUrls,
         {"background.jpg"},
         "html {\r\n  background-image: url(\"background.jpg\"), none;\r\n}\r\n"},
        {"gif only",
         twoUrls,
         {"background.gif"},
         "html {\r\n  background-image: none, url(\"background.gif\");\r\n}\r\n"},
        {"neither: one none", twoUrls, {}, "html {\r\n  background-image: none;\r\n}\r\n"},
        {"both kept", twoUrls, {"background.jpg", "background.gif"}, twoUrls},
        {"other layers stay",
         "b{background-image:linear-gradient(red,red),url(background.jpg),url('background.gif')}",
         {},
         "b{background-image:linear-gradient(red,red),none,none}"},
        {"shorthand, quotes, ./, URL( and blanks",
         "a{background:#fff URL( './background.gif' ) repeat}\r\nb{background:url(background.jpg) !important;}",
         {},
         "a{background:#fff none repeat}\r\nb{background:none !important;}"},
        {"a name in other letter case is another file",
         "a{background:url(Background.JPG)}",
         {"background.jpg"},
         "a{background:none}"},
        {"other files and text untouched",
         "/* 背景 background.jpg */ a{background:url(logo.png)} b{background:url(background.jpeg)}",
         {},
         "/* 背景 background.jpg */ a{background:url(logo.png)} b{background:url(background.jpeg)}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(drop(c.css, c.present), c.expected);
    }
    // Shift_JIS bytes (not valid UTF-8) around a match stay byte for byte.
    const QByteArray sjis = "/* \x94\x77\x8c\x69 */ a{background:url(background.gif)}";
    EXPECT_EQ(drop(sjis, {}), QByteArray("/* \x94\x77\x8c\x69 */ a{background:none}"));
}
