// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

/// The main window's start-up and shut-down rules that need no window: the command line, the
/// window placement and the geometry keys of the settings file. Geometry is kept in twips, 15 to a
/// logical pixel, and so are the grid's column widths. Any thread.
namespace Startup
{

inline constexpr int TwipsPerPixel = 15;
inline int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}
inline int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}

/// The folder that holds the program file, native separators, no trailing separator.
QString programFolder();
/// folder + separator + name.
QString joinPath(const QString& folder, const QString& name);

/// The whole command tail is one optional path: the arguments after the program name joined with
/// spaces. When it starts with a double quote that quote goes, and so does a closing one at its end.
/// A tail of a lone quote gives "" (no path).
QString commandLinePath(const QStringList& argumentsAfterProgram);

/// What the window program's command line asks for besides a folder: a tail of exactly "--help" (or
/// "-h") or "--version" is answered on the terminal before any window opens; any other tail is a path.
enum class CommandLineRequest { Run, Help, Version };
CommandLineRequest commandLineRequest(const QStringList& argumentsAfterProgram);
/// What `lumivert --help` prints.
QString windowProgramUsage();

/// One coordinate of a centred window: (screen - window) / 2, fraction dropped, at least 0.
int centredTwips(int screenTwips, int windowTwips);
/// Where the window goes: a stored coordinate that is negative (-1 when missing) is centred on its
/// own axis; a stored one of 0 or more is taken as it is, even beyond the screen's edge.
QPoint placementTwips(int storedLeft, int storedTop, QSize screenTwips, QSize windowTwips);

/// True when the title bar of a window whose frame lies at frame (its top 20 pixels, at least 100
/// pixels of its width or all of a narrower one) is on one of the screens, where it can be grabbed.
bool reachable(const QRect& frame, const QList<QRect>& screens);

/// True when a folder or a file of that path exists; false for "".
bool entryExists(const QString& path);

/// "C" + column number: C1, C2, ...
QString columnKey(int column);

/// What start-up reads from section "Main": -1 for every missing key.
struct Geometry {
    int top = -1;
    int left = -1;
    int spreadWidth = -1;
    QList<int> columnWidths; // one per column, C1 first
};
Geometry readGeometry(const QString& settingsFile, int columnCount);
/// What shut-down writes: Top, Left, SpreadW, then C1..Cn in column order.
void writeGeometry(const QString& settingsFile, const Geometry& geometry);

/// The last photo folder, whole: unlike other values it is not cut at the settings' byte limit, since
/// a cut path may name another folder.
QString readFolder(const QString& settingsFile);
/// Stores the folder so that readFolder gives it back exactly (quoted when blanks or quotes at its
/// ends would be lost); a path that cannot be stored so (a line break in it) is not written.
void writeFolder(const QString& settingsFile, const QString& folder);

/// True when a file can be created in that folder (tried, not guessed from permission bits, so it
/// also answers for root and for read-only file systems).
bool folderIsWritable(const QString& folder);

/// Where the settings file lives: beside the program when its folder is writable and not inside /usr,
/// else userConfigFolder + "/Lumivert/Lumivert.ini" (an installed program). Native separators. When
/// userConfigFolder is "" the user's configuration folder of the system is taken. The chosen
/// folder is not created here.
QString settingsFilePath(const QString& programFolder,
                         const std::function<bool(const QString& folder)>& isWritable = folderIsWritable,
                         const QString& userConfigFolder = QString());

/// The language of the windows: "ja" or "en". The override (LUMIVERT_LANG) wins when it is "ja" or
/// "en" (letter case and a region such as "en_GB" do not matter); otherwise a Japanese system locale
/// (a name starting with "ja") gives "ja", any other "en".
QString interfaceLanguage(const QString& override, const QString& systemLocaleName);

} // namespace Startup
