#include "ui/main_window.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <optional>
#include <stdexcept>
#include <utility>

#include "engine/files.hpp"
#include "ui/widgets.hpp"
#include "ui/window_metrics.hpp"

namespace oradel {
namespace {

// The first local file among the dropped items.
std::optional<QString> DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return std::nullopt;
}

// The form's name of a key, when the form answers it.
std::optional<Key> FormKey(int key) {
    switch (key) {
        case Qt::Key_O:
            return Key::O;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Key::Enter;
        case Qt::Key_F1:
            return Key::F1;
        case Qt::Key_F7:
            return Key::F7;
        case Qt::Key_Escape:
            return Key::Escape;
        default:
            return std::nullopt;
    }
}

}  // namespace

MainWindow::MainWindow(Desktop& desktop, FormSetup setup, QWidget* parent)
    : QWidget(parent), desktop_(desktop), form_(*this, std::move(setup)) {
    setObjectName(QStringLiteral("OradelWindow"));
    setWindowTitle(ApplicationTitle());
    setFont(WindowFont());
    setAcceptDrops(true);
    resize(Scaled(kClientWidth), height());
    CreateControls();
    SetKeyboardOrder();
    form_.Created();
}

void MainWindow::CreateControls() {
    for (const ControlRow& row : Controls()) {
        QWidget* parent = row.parent.empty() ? this : &Control(row.parent);
        QWidget* control = NewWidget(row, parent);
        controls_.emplace(row.name, control);
        ConnectControl(row, *control);
        // Keys go to the form before the control sees them.
        control->installEventFilter(this);
    }
}

void MainWindow::ConnectControl(const ControlRow& row, QWidget& control) {
    const FormCommand command = row.click;
    if (auto* button = qobject_cast<QToolButton*>(&control)) {
        connect(button, &QToolButton::clicked, this, [this, command] { form_.Run(command); });
    } else if (auto* field = qobject_cast<QLineEdit*>(&control)) {
        // A file dropped onto a field opens the file instead of pasting its name.
        field->setAcceptDrops(false);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(&control)) {
        memo->viewport()->installEventFilter(this);
    }
}

void MainWindow::SetKeyboardOrder() {
    QWidget* previous = nullptr;
    for (std::string_view name : KeyboardOrder()) {
        QWidget* control = &Control(name);
        if (previous != nullptr) setTabOrder(previous, control);
        previous = control;
    }
}

QWidget& MainWindow::Control(std::string_view name) const {
    const auto found = controls_.find(name);
    if (found == controls_.end()) {
        throw std::logic_error("the window has no control " + std::string(name));
    }
    return *found->second;
}

void MainWindow::FileGiven(const QString& path) {
    form_.FileGiven(PathFromText(path.toStdString()));
}

bool MainWindow::IsChecked(std::string_view checkBox) const {
    return static_cast<const QCheckBox&>(Control(checkBox)).isChecked();
}

void MainWindow::SetChecked(std::string_view checkBox, bool ticked) {
    static_cast<QCheckBox&>(Control(checkBox)).setChecked(ticked);
}

std::string MainWindow::Text(std::string_view control) const {
    QWidget& widget = Control(control);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(&widget))
        return memo->toPlainText().toStdString();
    return static_cast<QLineEdit&>(widget).text().toStdString();
}

void MainWindow::SetText(std::string_view control, const std::string& text) {
    QWidget& widget = Control(control);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(&widget)) {
        memo->setPlainText(QString::fromStdString(text));
    } else {
        static_cast<QLineEdit&>(widget).setText(QString::fromStdString(text));
    }
}

void MainWindow::SetCaption(std::string_view control, const std::string& caption) {
    QWidget& widget = Control(control);
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(QString::fromStdString(caption));
    } else {
        static_cast<QAbstractButton&>(widget).setText(QString::fromStdString(caption));
    }
    const ControlRow& row = *FindControl(control);
    if (row.width == 0 || row.height == 0) widget.adjustSize();
}

void MainWindow::SetEnabled(std::string_view control, bool enabled) {
    Control(control).setEnabled(enabled);
}

void MainWindow::SetVisible(std::string_view control, bool visible) {
    Control(control).setVisible(visible);
}

void MainWindow::ShowMessage(const std::string& text) {
    desktop_.ShowMessage(this, QString::fromStdString(text));
}

bool MainWindow::AskYesNo(const std::string& text) {
    return desktop_.AskYesNo(this, QString::fromStdString(text));
}

std::optional<std::filesystem::path> MainWindow::ChooseFileToOpen(const OpenFileRequest& request) {
    const std::optional<QString> chosen = desktop_.ChooseFileToOpen(this, request);
    if (!chosen) return std::nullopt;
    return PathFromText(chosen->toStdString());
}

void MainWindow::OpenDocument(const std::filesystem::path& file) {
    desktop_.OpenUrl(QUrl::fromLocalFile(QString::fromStdString(PathText(file))));
}

// The desktop's handler of a file takes no line number.
void MainWindow::OpenTextAtLine(const std::filesystem::path& file, std::size_t) {
    OpenDocument(file);
}

void MainWindow::ShowDiagnostics(const DiagnosticsRequest& request) {
    desktop_.ShowDiagnostics(this, request);
}

void MainWindow::OpenAddress(const std::string& address) {
    desktop_.OpenUrl(QUrl(QString::fromStdString(address)));
}

void MainWindow::SetClientHeight(int height) {
    resize(width(), Scaled(height));
}

void MainWindow::CoverClientArea(std::string_view control) {
    covering_ = &Control(control);
    covering_->setGeometry(rect());
    covering_->raise();
}

bool MainWindow::ForwardKey(const QKeyEvent& event) {
    const std::optional<Key> key = FormKey(event.key());
    return key && form_.KeyPressed(*key, event.modifiers().testFlag(Qt::ControlModifier));
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!ForwardKey(*event)) QWidget::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        return ForwardKey(*static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // The help text's click arrives at its viewport.
        const ControlRow& help = *FindControl(kHelpText);
        if (watched == static_cast<QPlainTextEdit&>(Control(help.name)).viewport()) {
            form_.Run(help.click);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    form_.Closing();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (covering_ != nullptr) covering_->setGeometry(rect());
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (centredOnce_) return;
    centredOnce_ = true;
    if (const QScreen* shownOn = screen()) {
        move(shownOn->availableGeometry().center() - rect().center());
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (const std::optional<QString> file = DroppedFile(event->mimeData())) {
        event->acceptProposedAction();
        FileGiven(*file);
    }
}

}  // namespace oradel
