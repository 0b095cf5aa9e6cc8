// The least a Qt widget program does to show a window: the measure that the
// program's start-up is set against. One plain window of the given size.
// Usage: minimal_window [WIDTH HEIGHT]
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal window"));
    window.resize(args.value(1, QStringLiteral("1202")).toInt(),
                  args.value(2, QStringLiteral("752")).toInt());
    window.show();
    return app.exec();
}
