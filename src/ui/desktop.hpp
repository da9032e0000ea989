// What the window asks of the desktop: message boxes, the file-open dialog and
// showing a file or web address with the program the desktop associates with
// it. The window reaches these only through Desktop, so the tests can answer
// the dialogs and see every message in order.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QFileDialog;
class QWidget;

namespace oradel {

// The application title: the window's caption and the caption of every message box.
QString ApplicationTitle();

struct OpenFileRequest {
    QString title;
    QString folder;         // shown first
    QString defaultSuffix;  // added to a typed name without one
    QStringList nameFilters;
    QString selectedFilter;
};

class Desktop {
  public:
    virtual ~Desktop() = default;
    // A modal box with the text and one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // The full path of the file the user confirms (it need not exist); nullopt when cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* parent,
                                                    const OpenFileRequest& request) = 0;
    // Hands the address to the desktop (browser, associated program); a failure is not reported.
    virtual void OpenUrl(const QUrl& url) = 0;
};

// The real desktop of the running program.
class QtDesktop final : public Desktop {
  public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    std::optional<QString> ChooseFileToOpen(QWidget* parent,
                                            const OpenFileRequest& request) override;
    void OpenUrl(const QUrl& url) override;
};

// Qt's name filters from a filter list written as "Description|pattern|Description|pattern";
// the pattern "*.*" becomes "*", so that it lists names without a dot as well.
QStringList NameFiltersFromPairs(const QString& pairs);

// Sets up an open dialog as the request says; it accepts a name of a file that does not exist.
void ConfigureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request);

}  // namespace oradel
