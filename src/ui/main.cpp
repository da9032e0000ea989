// oradel: the window of the Oradel conversions.
#include <QApplication>
#include <QIcon>

#include "ui/desktop.hpp"
#include "ui/main_window.hpp"
#include "ui/settings_location.hpp"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Names the user's configuration folder of a system-wide install.
    QApplication::setApplicationName(QStringLiteral("oradel"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("oradel"), QIcon(QStringLiteral(":/oradel.png"))));

    oradel::QtDesktop desktop;
    oradel::TForm1 form(desktop, oradel::SettingsFileOfThisProgram());
    // A file given to the program ("Open with", a file dropped on its icon).
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) form.OpenFile(arguments.at(1));
    form.show();
    return QApplication::exec();
}
