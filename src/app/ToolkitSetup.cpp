#include "app/ToolkitSetup.h"

#include <QByteArray>
#include <QtGlobal>

void PrepareToolkit()
{
    // On X11 the toolkit would share each window's image with the server
    // through shared memory, and then wait for the server to answer before
    // every paint, as the server may still be reading the image. The playing
    // window paints small areas many times a second, so sending them over
    // the connection costs less than that round trip. A value the user set
    // is kept.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
}
