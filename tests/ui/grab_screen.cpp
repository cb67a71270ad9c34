// quilo-grab-screen OUT.png: saves the whole X screen, for looking at windows under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 || !QGuiApplication::primaryScreen())
        return 64;
    return QGuiApplication::primaryScreen()->grabWindow(0).save(argv[1]) ? 0 : 1;
}
