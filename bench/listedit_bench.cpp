// SPDX-License-Identifier: MIT
// A bench helper: makes one edit to a photo list file the way the photo grid would, so that
// bench/run can time re-creating an album after it.
//
//   listedit_bench Lumivert.bin last-to-top | caption ROW TEXT | rotate ROW CODE | remove ROW
//
// Rows are 1-based. The file is loaded and saved whole through the list file's own code; a turn
// changes only the rotation code (the album reads nothing else of it).
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include "components/sheetfile.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    auto fail = [](const QString& message) {
        std::fprintf(stderr, "listedit_bench: %s\n", qPrintable(message));
        return 2;
    };
    if (args.size() < 2)
        return fail(QStringLiteral("usage: listedit_bench FILE last-to-top | caption ROW TEXT | rotate ROW CODE | "
                                   "remove ROW"));
    QString error;
    std::optional<Sheet> sheet = SheetFile::load(args[0], &error);
    if (!sheet)
        return fail(error);
    QVector<PhotoRow>& rows = sheet->rows;
    const QString& edit = args[1];
    const int row = args.size() > 2 ? args[2].toInt() : 0;
    if (edit != QLatin1String("last-to-top") && (row < 1 || row > rows.size()))
        return fail(QStringLiteral("no row %1").arg(row));
    if (edit == QLatin1String("last-to-top") && !rows.isEmpty())
        rows.prepend(rows.takeLast());
    else if (edit == QLatin1String("caption") && args.size() > 3)
        rows[row - 1].caption = args[3];
    else if (edit == QLatin1String("rotate") && args.size() > 3)
        rows[row - 1].rotation = args[3].toInt();
    else if (edit == QLatin1String("remove"))
        rows.removeAt(row - 1);
    else
        return fail(QStringLiteral("unknown edit %1").arg(edit));
    if (!SheetFile::save(args[0], *sheet, &error))
        return fail(error);
    return 0;
}
