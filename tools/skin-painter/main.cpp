// skin-painter <skin folder>: draws every picture of the program's skin into the folder.
#include <QGuiApplication>
#include <cstdio>

#include "skin-painter/SkinCatalog.h"
#include "skin-painter/SkinWriter.h"

int main(int argc, char** argv)
{
    // Drawing needs no screen; the build may run without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-painter <skin folder>\n");
        return 2;
    }
    const skin::SkinWriteResult result =
        skin::WriteSkin(skin::BuildSkinCatalog(), QString::fromLocal8Bit(argv[1]));
    for (const QString& path : result.failed)
        std::fprintf(stderr, "skin-painter: could not write %s\n", qPrintable(path));
    return result.failed.isEmpty() ? 0 : 1;
}
