// Redraws the program's pictures into a resources folder. Usage: imagegen RESOURCES_DIR
#include "drawings.h"
#include "icofile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

static bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

static bool writePng(const QString& path, const QImage& image) {
    return image.save(path, "PNG");
}

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv); // fonts need the GUI part
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen RESOURCES_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("Images"))) {
        std::fprintf(stderr, "imagegen: cannot create %s/Images\n", argv[1]);
        return 1;
    }
    const bool ok = writePng(dir.filePath(QStringLiteral("Images/Logo.png")), drawLogo()) &&
                    writePng(dir.filePath(QStringLiteral("Images/Toroid.png")), drawToroid()) &&
                    writePng(dir.filePath(QStringLiteral("Images/CylinderP.png")), drawCylinderP()) &&
                    writePng(dir.filePath(QStringLiteral("Images/CylinderH.png")), drawCylinderH()) &&
                    writePng(dir.filePath(QStringLiteral("Images/CylinderV.png")), drawCylinderV()) &&
                    writeFile(dir.filePath(QStringLiteral("Lumo_logo_New.ico")), icoWithPng(drawIcon())) &&
                    writePng(dir.filePath(QStringLiteral("icon-128.png")), drawIcon()); // desktop icon theme
    if (!ok) {
        std::fprintf(stderr, "imagegen: writing the pictures failed\n");
        return 1;
    }
    return 0;
}
