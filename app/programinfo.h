// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The program's own version information: what the Windows version resource held.
namespace ProgramInfo {
inline constexpr int Major = LUMIVERT_VERSION_MAJOR;
inline constexpr int Minor = LUMIVERT_VERSION_MINOR;
inline constexpr int Revision = LUMIVERT_VERSION_PATCH;
QString displayName();     // "Lumivert"
QString legalNotice();     // the legal-notice line
QString legalWarning();    // the about box's disclaimer
QString releaseDate();     // "YYYY/MM/DD"
/// The project's version as the build gives it, "1.0.0": what --version and the package show.
QString versionNumber();
/// What `program --version` prints: "program 1.0.0" and the legal-notice line.
QString versionText(const QString& program);
/// "Ver.1.0.000 " + legalNotice(): the version label of the Step1 page.
QString versionLabel();
/// "Version 1.0.000(2026/12/07)": the about box's version line.
QString versionLine();
}  // namespace ProgramInfo
