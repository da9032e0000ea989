// What the Qt view asks of the desktop: message boxes, the file-open dialog and
// showing a file or web address with the program the desktop associates with
// it. The view reaches these only through Desktop, so the tests can answer
// the dialogs and see every message in order.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

#include "form/form_view.hpp"

class QFileDialog;
class QWidget;

namespace oradel {

// The application title: the window's caption and the caption of every message box.
QString ApplicationTitle();

class Desktop {
  public:
    virtual ~Desktop() = default;
    // A modal box with the text and one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A modal box with the text and the buttons Yes and No (the default); true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The full path of the file the user confirms (it need not exist); nullopt when cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* parent,
                                                    const OpenFileRequest& request) = 0;
    // Hands the address to the desktop (browser, associated program); a failure is not reported.
    virtual void OpenUrl(const QUrl& url) = 0;
    // The list check's modal window (FormView::ShowDiagnostics).
    virtual void ShowDiagnostics(QWidget* parent, const DiagnosticsRequest& request) = 0;
};

// The real desktop of the running program.
class QtDesktop final : public Desktop {
  public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    std::optional<QString> ChooseFileToOpen(QWidget* parent,
                                            const OpenFileRequest& request) override;
    void OpenUrl(const QUrl& url) override;
    void ShowDiagnostics(QWidget* parent, const DiagnosticsRequest& request) override;
};

// Qt's name filters: "Description (patterns)" with the patterns blank-separated
// and "*.*" written "*", so that it lists names without a dot as well.
QStringList NameFilters(const std::vector<FileFilter>& filters);

// Sets up an open dialog as the request says; it accepts a name of a file that does not exist.
void ConfigureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request);

}  // namespace oradel
