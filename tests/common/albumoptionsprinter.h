// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>

#include "generate/albumoptionsfile.h"

/// Shows AlbumOptions in a failed expectation as the lines of its options file.
inline void PrintTo(const AlbumOptions& o, std::ostream* os)
{
    *os << "\n"
        << o.photoFolder.toStdString() << "\n"
        << o.programFolder.toStdString() << "\n"
        << o.backgroundFile.toStdString() << "\n"
        << AlbumOptionsFile::encode(o).toStdString();
}
