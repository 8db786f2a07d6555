// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

/// What every fuzz target needs once: a QCoreApplication (Qt's image plugins), the imaging
/// session (exiv2 set-up, allocation limit) and quiet Qt warnings.
namespace FuzzCommon {
void initialize(int* argc, char*** argv);
QByteArray bytes(const uint8_t* data, size_t size);
/// Writes the bytes to this process's scratch file (in /dev/shm when it exists) and returns its path.
QString scratchFile(const QByteArray& bytes);
}  // namespace FuzzCommon
