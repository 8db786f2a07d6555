// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "components/listpicture.h"

/// The ten columns of the photo list, numbered as every part of the program addresses them.
enum class PhotoColumn : int {
    Image = 1,     // "image": thumbnail as read, fitted into 120 x 90; the unrotated source of Picture (hidden)
    Picture = 2,   // "写真": Image turned by Rotation and fitted again (shown)
    PathName = 3,  // "ﾊﾟｽ名": full path of the photo file (hidden)
    FileName = 4,  // "ファイル名": file name with extension
    Model = 5,     // "機種名": camera model text or "不明" (hidden)
    DateTime = 6,  // "撮影日時": "YYYY/MM/DD HH:MM:SS" or "不明"
    Tv = 7,        // "Tv": shutter speed text such as "1/250sec" or "不明" (hidden)
    Av = 8,        // "Av": aperture text such as "f2.8" or "不明" (hidden)
    Rotation = 9,  // "回転": rotation code 0 "なし", 1 "左90度", 2 "右90度", 3 "180度"
    Caption = 10,  // "キャプション(表題)": free text, lines ended by CR LF, at most 4096 characters
                   // (a line break counts as one, see captionLength)
};

inline constexpr int PhotoColumnCount = 10;
inline constexpr int MaxPhotos = 999;
inline constexpr int MaxCaptionLength = 4096;
inline constexpr int ThumbnailBoxWidth = 120;
inline constexpr int ThumbnailBoxHeight = 90;

/// A caption's length as its limit counts it, the same in the editor and in the list: every UTF-16
/// unit counts one, and so does a line break, whether CR LF, CR or LF.
int captionLength(const QString& text);
/// A caption as typed or pasted into the list: every line break made CR LF, then cut to
/// MaxCaptionLength as captionLength counts, never inside a line break or a character of two
/// UTF-16 units.
QString limitCaption(const QString& text);
/// A caption as stored (a loaded list, a whole row): its line breaks kept exactly as they are, only
/// cut to MaxCaptionLength in the same way.
QString storedCaption(const QString& text);

/// One photo record: one row of the photo list. A value; copies share their pictures, which are
/// kept on disk and decoded when shown (see ListPicture).
struct PhotoRow {
    ListPicture image;    // column 1
    ListPicture picture;  // column 2
    QString pathName;
    QString fileName;
    QString model;
    QString dateTime;
    QString tv;
    QString av;
    int rotation = 0;
    QString caption;

    /// Text of a text column (3 to 8, 10); the rotation code as decimal text for column 9.
    QString text(PhotoColumn column) const;
    void setText(PhotoColumn column, const QString& value);
    bool operator==(const PhotoRow&) const = default;
};
