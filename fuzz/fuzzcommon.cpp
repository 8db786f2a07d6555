// SPDX-License-Identifier: MIT
#include "fuzzcommon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>

#include <cstdlib>

#include <unistd.h>

#include "components/imaging.h"

namespace FuzzCommon {

void initialize(int* argc, char*** argv)
{
    // Decoders warn about every broken input; millions of lines would only slow the run down.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false\n*.info=false"));
    static QCoreApplication app(*argc, *argv);
    static Imaging::Session session;
}

QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

namespace {
QString g_scratch;
void removeScratch()
{
    if (!g_scratch.isEmpty())
        QFile::remove(g_scratch);
}
}  // namespace

QString scratchFile(const QByteArray& bytes)
{
    if (g_scratch.isEmpty()) {
        const QString dir = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        g_scratch = QStringLiteral("%1/lumivert-fuzz-%2.bin").arg(dir).arg(getpid());
        std::atexit(removeScratch);
    }
    QFile file(g_scratch);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(bytes);
    file.close();
    return g_scratch;
}

}  // namespace FuzzCommon
