#include "desktop/DesktopIcon.h"

#include <QFile>

QIcon DesktopIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/quillon/icons/hicolor/%1x%1/apps/quillon-player.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}
