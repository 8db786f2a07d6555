// SPDX-License-Identifier: MIT
// One version everywhere: both programs' --version, the AppStream release, the manual pages, the
// package's changelog and the about box carry the CMake project's version and release date; and the
// manual pages document every option the programs' --help lists.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <set>

#include "app/widgets/frmabout.h"
#include "common/testutil.h"

namespace
{

const QString kVersion = QStringLiteral(LUMIVERT_PROJECT_VERSION);
const QString kDate = QStringLiteral(LUMIVERT_PROJECT_RELEASE_DATE);
const QString kPrograms[] = {QStringLiteral("lumivert"), QStringLiteral("lumivert-cli")};

struct Output {
    int exitCode = -1;
    QString out;
};

// Runs a built program as on a terminal without a display: the answers must not need one.
Output runProgram(const QString& program, const QString& argument)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    process.setProcessEnvironment(env);
    process.start(QDir(TestUtil::binDir()).filePath(program), {argument});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput())};
}

QString distFile(const QString& name)
{
    QFile file(QStringLiteral(LUMIVERT_DIST_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    return QString::fromUtf8(file.readAll());
}

TEST(Version, TheProjectVersionIsWhatEveryPlaceShows)
{
    for (const QString& program : kPrograms) {
        SCOPED_TRACE(program.toStdString());
        const Output version = runProgram(program, QStringLiteral("--version"));
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out.section(QLatin1Char('\n'), 0, 0), program + QLatin1Char(' ') + kVersion);
        const Output help = runProgram(program, QStringLiteral("--help"));
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: ") + program + QLatin1Char(' ')))
            << help.out.toStdString();
    }

    QXmlStreamReader metainfo(distFile(QStringLiteral("io.github.lumivert.Lumivert.metainfo.xml")));
    QStringList releases;
    while (!metainfo.atEnd()) {
        if (metainfo.readNext() == QXmlStreamReader::StartElement && metainfo.name() == QLatin1String("release"))
            releases << metainfo.attributes().value(QLatin1String("version")).toString() + QLatin1Char(' ') +
                            metainfo.attributes().value(QLatin1String("date")).toString();
    }
    EXPECT_FALSE(metainfo.hasError()) << metainfo.errorString().toStdString();
    ASSERT_FALSE(releases.isEmpty());
    EXPECT_EQ(releases.first(), kVersion + QLatin1Char(' ') + kDate) << "the newest release comes first";

    for (const QString& page : {QStringLiteral("lumivert.1"), QStringLiteral("lumivert-cli.1")}) {
        const QString text = distFile(page);
        EXPECT_TRUE(text.contains(QStringLiteral(" 1 \"%1\" \"Lumivert %2\"").arg(kDate, kVersion)))
            << page.toStdString();
    }
    EXPECT_TRUE(distFile(QStringLiteral("changelog")).startsWith(QStringLiteral("lumivert (%1) ").arg(kVersion)));

    // The about box keeps its own form: three-digit revision, date with slashes.
    const QStringList parts = kVersion.split(QLatin1Char('.'));
    ASSERT_EQ(parts.size(), 3);
    frmAbout about;
    auto* line = about.findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QStringLiteral("Version %1.%2.%3(%4)")
                                .arg(parts[0], parts[1])
                                .arg(parts[2].toInt(), 3, 10, QLatin1Char('0'))
                                .arg(QString(kDate).replace(QLatin1Char('-'), QLatin1Char('/'))));
}

TEST(Version, ManualPagesDocumentEveryOptionOfTheHelp)
{
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z][a-z-]*"));
    for (const QString& program : kPrograms) {
        SCOPED_TRACE(program.toStdString());
        const QString page = distFile(program + QStringLiteral(".1"));
        std::set<QString> options;
        for (const auto& match : option.globalMatch(runProgram(program, QStringLiteral("--help")).out))
            options.insert(match.captured());
        EXPECT_GE(options.size(), 2u);
        for (const QString& name : options) {
            // roff writes each hyphen of an option as \-; a longer option's name does not count.
            const QString roff = QString(name).replace(QLatin1String("-"), QLatin1String("\\-"));
            const QRegularExpression documented(QRegularExpression::escape(roff) + QStringLiteral("(?![a-z]|\\\\-)"));
            EXPECT_TRUE(page.contains(documented))
                << name.toStdString() << " is missing from dist/" << program.toStdString() << ".1.in";
        }
    }
}

} // namespace
