// oradel: the window of the Oradel conversions.
#include <QApplication>
#include <QFileOpenEvent>
#include <QIcon>
#include <QStandardPaths>
#include <exception>
#include <string>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "form/form.hpp"
#include "form/settings_location.hpp"
#include "oradel/build_info.hpp"
#include "ui/desktop.hpp"
#include "ui/main_window.hpp"

namespace {

std::filesystem::path PathOf(const QString& path) {
    return oradel::PathFromText(path.toStdString());
}

// macOS hands a file opened with the program ("Open with", dropped on its
// icon) to the running application as an event instead of an argument.
class FileOpenHandler final : public QObject {
  public:
    explicit FileOpenHandler(oradel::MainWindow& window) : window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FileOpen) {
            const QString file = static_cast<QFileOpenEvent*>(event)->file();
            if (!file.isEmpty()) {
                window_.FileGiven(file);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    oradel::MainWindow& window_;
};

// The window's life; a failure that leaves it (the settings, the window
// itself) reaches main.
int RunWindow(oradel::QtDesktop& desktop) {
    const oradel::FormSetup setup{
        oradel::SettingsFileLocation(
            PathOf(QApplication::applicationFilePath()),
            PathOf(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))),
        PathOf(QApplication::applicationDirPath()), std::string(oradel::kHomePage)};
    oradel::MainWindow window(desktop, setup);
    FileOpenHandler fileOpenHandler(window);
    QApplication::instance()->installEventFilter(&fileOpenHandler);
    // A file given to the program ("Open with", a file dropped on its icon).
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) window.FileGiven(arguments.at(1));
    window.show();
    return QApplication::exec();
}

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
    try {
        return RunWindow(desktop);
    } catch (const std::exception& failure) {
        desktop.ShowMessage(
            nullptr, QString::fromStdString(oradel::FailureText(failure, oradel::kWindowLanguage)));
        return 1;
    }
}
