// oradel: the window of the Oradel conversions.
#include <QApplication>
#include <QFileOpenEvent>
#include <QIcon>

#include "ui/desktop.hpp"
#include "ui/main_window.hpp"
#include "ui/settings_location.hpp"

namespace {

// macOS hands a file opened with the program ("Open with", dropped on its
// icon) to the running application as an event instead of an argument.
class FileOpenHandler final : public QObject {
  public:
    explicit FileOpenHandler(oradel::TForm1& form) : form_(form) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FileOpen) {
            const QString file = static_cast<QFileOpenEvent*>(event)->file();
            if (!file.isEmpty()) {
                form_.OpenFile(file);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    oradel::TForm1& form_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Names the user's configuration folder of a system-wide install.
    QApplication::setApplicationName(QStringLiteral("oradel"));
    // Ties the window to the installed oradel.desktop (its icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("oradel"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("oradel"), QIcon(QStringLiteral(":/oradel.png"))));

    oradel::QtDesktop desktop;
    oradel::TForm1 form(desktop, oradel::SettingsFileOfThisProgram());
    FileOpenHandler fileOpenHandler(form);
    application.installEventFilter(&fileOpenHandler);
    // A file given to the program ("Open with", a file dropped on its icon).
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) form.OpenFile(arguments.at(1));
    form.show();
    return QApplication::exec();
}
