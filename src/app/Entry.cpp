#include "app/Entry.h"

#include <QApplication>

int RunEntry(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
