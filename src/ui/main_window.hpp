// The main window Form1: one input file, the operations to run on it, the
// web-page options of Panel1 and the help text. It answers the conversions'
// option queries from its live controls and shows their messages.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/options.hpp"
#include "ui/desktop.hpp"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace oradel {

struct ConversionMode;

class TForm1 final : public QWidget, public MessageSink {
    Q_OBJECT

  public:
    // Loads the state of the check boxes and edit fields from `settingsFile`,
    // which the window saves back when it closes.
    TForm1(Desktop& desktop, std::filesystem::path settingsFile, QWidget* parent = nullptr);

    // The options as the controls show them now.
    Options CurrentOptions() const;
    void ShowMessage(const std::string& text) override;

    // Takes `path` as if the user had confirmed it in the open dialog (a file
    // given to the program or dropped onto the window).
    void OpenFile(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void Memo1Click();
    void FormCreate();
    void FormClose();

    void CreateControls();
    void FindControls();
    void SetKeyboardOrder();
    void ConnectCommands();
    void ApplyOptions(const Options& options);

    void SelectFile(const QString& path);
    QCheckBox* OperationBox(const ConversionMode& mode) const;
    void EnableOperationsByExtension();
    bool AnyOperationTicked() const;
    void ReportLeftOutPoints(const std::vector<std::string>& names);
    void ShowText(const QString& text);
    // Runs a command; a failure it does not handle itself is shown, and the window goes on.
    template <typename Command>
    void RunCommand(Command command);

    Desktop& desktop_;
    const std::filesystem::path settingsFile_;
    QString selectedFileName;
    bool centredOnce_ = false;
    bool helpFillsWindow_ = false;

    QToolButton* SpeedButton6 = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Panel1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    std::map<std::string, QCheckBox*, std::less<>> checkBoxes_;
    std::map<std::string, QLineEdit*, std::less<>> editFields_;
};

}  // namespace oradel
