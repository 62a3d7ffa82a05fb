// Placeholder entry point until start-up and the main window are in place.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label("Tolvenic keyboard configuration");
    label.resize(480, 160);
    label.setAlignment(Qt::AlignCenter);
    label.show();
    return app.exec();
}
