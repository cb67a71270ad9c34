// quilo-make-icons FOLDER NAME SIZE...: writes the program icon as
// FOLDER/<SIZE>x<SIZE>/apps/NAME.png for each size, the icon theme's layout.
#include "skin/program_icon.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: quilo-make-icons FOLDER NAME SIZE...\n");
        return 64;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > 1024) {
            std::fprintf(stderr, "quilo-make-icons: %s is not an icon size\n", argv[i]);
            return 64;
        }
        const QString sizeFolder = QString("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(sizeFolder) ||
            !quilo::skin::ProgramIcon(size).save(sizeFolder + "/" + name + ".png")) {
            std::fprintf(stderr, "quilo-make-icons: cannot write into %s\n", qPrintable(sizeFolder));
            return 1;
        }
    }
    return 0;
}
