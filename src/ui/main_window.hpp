// The Qt view of the form: builds its widgets from the form's controls table,
// carries out what the form asks of a view and forwards the window's events
// (clicks, keys, drops, closing) to the form.
#pragma once

#include <QString>
#include <QWidget>
#include <map>
#include <string>
#include <string_view>

#include "form/form.hpp"
#include "form/form_view.hpp"
#include "ui/desktop.hpp"

namespace oradel {

class MainWindow final : public QWidget, private FormView {
    Q_OBJECT

  public:
    MainWindow(Desktop& desktop, FormSetup setup, QWidget* parent = nullptr);

    // A file given to the program, dropped or handed over by the desktop.
    void FileGiven(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void ConnectControl(const ControlRow& row, QWidget& control);
    void SetKeyboardOrder();
    bool ForwardKey(const QKeyEvent& event);
    QWidget& Control(std::string_view name) const;

    bool IsChecked(std::string_view checkBox) const override;
    void SetChecked(std::string_view checkBox, bool ticked) override;
    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    void SetCaption(std::string_view control, const std::string& caption) override;
    void SetEnabled(std::string_view control, bool enabled) override;
    void SetVisible(std::string_view control, bool visible) override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::filesystem::path> ChooseFileToOpen(const OpenFileRequest& request) override;
    void OpenDocument(const std::filesystem::path& file) override;
    void OpenTextAtLine(const std::filesystem::path& file, std::size_t line) override;
    void ShowDiagnostics(const DiagnosticsRequest& request) override;
    void OpenAddress(const std::string& address) override;
    void SetClientHeight(int height) override;
    void CoverClientArea(std::string_view control) override;

    Desktop& desktop_;
    std::map<std::string, QWidget*, std::less<>> controls_;
    QWidget* covering_ = nullptr;
    bool centredOnce_ = false;
    Form form_;
};

}  // namespace oradel
