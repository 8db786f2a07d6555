// SPDX-License-Identifier: MIT
#include "app/widgets/artwork.h"

// The resources live in a static library: nothing would pull their registration into the program
// unless it is referenced, so it is made explicitly before the first use.
static void registerArtwork()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(once);
}

namespace Artwork
{

QPixmap logoLarge()
{
    registerArtwork();
    return QPixmap(QStringLiteral(":/art/logo_large.png"));
}

QPixmap logo()
{
    registerArtwork();
    return QPixmap(QStringLiteral(":/art/logo.png"));
}

QIcon programIcon()
{
    registerArtwork();
    QIcon icon;
    for (const char* name : {"icon16.png", "icon32.png", "icon64.png", "icon256.png"})
        icon.addFile(QStringLiteral(":/art/") + QLatin1String(name));
    return icon;
}

} // namespace Artwork
