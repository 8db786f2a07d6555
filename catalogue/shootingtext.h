// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The photo list's texts made from shooting information.
namespace ShootingText {
inline const QString Unknown = QStringLiteral("不明");
/// The model, prefixed by the maker and a space when the model does not contain the maker.
QString modelText(const QString& maker, const QString& model);
/// "2004:03:05 12:00:00" -> "2004/03/05 12:00:00"; characters 5 and 8 become '/' where present.
QString dateText(const QString& exifDateTime);
/// Exposure a / b: "1/160sec" for 10/1600, "1/333sec" for 3/1000, "0/0sec" for 0/0.
QString shutterText(qint64 a, qint64 b);
/// F-number a / b: "f2.8" for 28/10, "f11.0" for 11/1, "不明" when b <= 0.
QString apertureText(qint64 a, qint64 b);
}  // namespace ShootingText
