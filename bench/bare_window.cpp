// A bare Qt window that opens and quits: what start-up is measured against. With the argument
// "text" it also shows a line of bold Arial, so that the fonts are loaded as any window with text
// must.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    if (QApplication::arguments().contains(QStringLiteral("text"))) {
        auto *layout = new QVBoxLayout(&window);
        auto *label = new QLabel(QStringLiteral("Monday, 1 March 2027"));
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        label->setFont(font);
        layout->addWidget(label);
    }
    window.showMaximized();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
