// SPDX-License-Identifier: MIT
// The data beside the program: the template, the style sheets, the backgrounds, the sample album.
#include <gtest/gtest.h>

#include <QDir>
#include <QImageReader>
#include <QRegularExpression>

#include "common/testutil.h"
#include "generate/basresoutprn.h"

TEST(ShippedData, TemplateHasTheFourSections)
{
    const QString path = QDir(TestUtil::binDir()).filePath("Lumivert.fmt");
    const QByteArray bytes = TestUtil::readAll(path);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes.count("\r\n"), bytes.count("\n")); // CR LF lines
    for (const char* section : {"SimpleTop", "SimpleIndex", "SimplePage", "SimplePageJ"}) {
        SCOPED_TRACE(section);
        QString error;
        const auto slots = basResOutPrn::readFormatSectionFile(path, QString::fromLatin1(section), &error);
        ASSERT_TRUE(slots) << error.toStdString();
        QString all;
        for (const QString& t : slots->texts)
            all += t;
        EXPECT_TRUE(all.contains("stylesheet.css"));
        EXPECT_TRUE(all.contains("charset=\"UTF-8\""));
        EXPECT_TRUE(all.contains("name=\"viewport\""));
    }
    const auto page = basResOutPrn::readFormatSectionFile(path, "SimplePage");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->text(7), "<meta http-equiv=\"refresh\" content=\"&&;URL=&&\">");
    EXPECT_EQ(page->text(30).count("&&"), 5);
    // The images take their text alternative in the slot's last mark; thumbnails load lazily; the
    // bar's previous and next links carry rel for the keys and for the browser.
    const auto top = basResOutPrn::readFormatSectionFile(path, "SimpleTop");
    const auto index = basResOutPrn::readFormatSectionFile(path, "SimpleIndex");
    ASSERT_TRUE(top && index);
    // ... and after it the mark for their size and second image.
    EXPECT_TRUE(top->text(35).contains("alt=\"&&\"&&>"));
    EXPECT_EQ(index->text(29).count("&&"), 4);
    EXPECT_TRUE(index->text(29).contains("alt=\"&&\" loading=\"lazy\""));
    const auto japanese = basResOutPrn::readFormatSectionFile(path, "SimplePageJ");
    ASSERT_TRUE(japanese);
    for (const auto* section : {&*page, &*japanese}) {
        EXPECT_TRUE(section->text(37).endsWith("alt=\"&&\"&&>"));
        EXPECT_TRUE(section->text(30).contains("rel=\"prev\"") && section->text(30).contains("rel=\"next\""));
        EXPECT_TRUE(section->text(49).contains("ArrowLeft"));
    }
    for (const char* word : {"最初", "前へ", "次へ", "最後"})
        EXPECT_TRUE(japanese->text(30).contains(QString::fromUtf8(word))) << word;
    EXPECT_TRUE(japanese->text(29).contains(QStringLiteral("目次")));
}

TEST(ShippedData, StyleSheetsAndBackgrounds)
{
    const QDir bin(TestUtil::binDir());
    const QStringList sheets = bin.entryList({"*.css"}, QDir::Files, QDir::Name);
    EXPECT_GE(sheets.size(), 4);
    for (const QString& sheet : sheets)
        EXPECT_TRUE(TestUtil::readAll(bin.filePath(sheet)).contains("&color&")) << sheet.toStdString();
    const QDir backgrounds(bin.filePath(QStringLiteral("背景画像")));
    const QStringList images = backgrounds.entryList({"*.jpg"}, QDir::Files);
    EXPECT_GE(images.size(), 6);
    for (const QString& image : images)
        EXPECT_TRUE(QImageReader(backgrounds.filePath(image)).canRead()) << image.toStdString();
}

TEST(ShippedData, SampleAlbumLinksResolve)
{
    const QDir sample(QDir(TestUtil::binDir()).filePath("Preview/Lumivert"));
    ASSERT_TRUE(sample.exists("top.htm"));
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    for (const QString& page : sample.entryList({"*.htm"}, QDir::Files)) {
        const QString text = QString::fromUtf8(TestUtil::readAll(sample.filePath(page)));
        EXPECT_TRUE(text.contains("href=\"stylesheet.css\"")) << page.toStdString();
        for (auto m = link.globalMatch(text); m.hasNext();) {
            const QString target = m.next().captured(1);
            // The preview writes the style sheet itself.
            if (target != QLatin1String("stylesheet.css")) {
                EXPECT_TRUE(sample.exists(target)) << page.toStdString() << " -> " << target.toStdString();
            }
        }
    }
}
