// Writes the game's icon into an icon theme folder at build time:
//     velnor-icon-files THEME_FOLDER
// The installed icons come from here, so they are the window icon's own drawing. Paints on
// pictures and into a file only: no display and no application object needed.
#include "app/icon_files.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: velnor-icon-files THEME_FOLDER\n", stderr);
        return 2;
    }
    QString error;
    if (!velnor::writeIconFiles(QString::fromLocal8Bit(argv[1]), error)) {
        std::fprintf(stderr, "velnor-icon-files: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
