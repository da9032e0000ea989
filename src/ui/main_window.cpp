#include "ui/main_window.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>
#include <utility>

#include "engine/conversion_job.hpp"
#include "engine/conversion_modes.hpp"
#include "engine/files.hpp"
#include "options/option_controls.hpp"
#include "options/settings_file.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "ui/window_metrics.hpp"

namespace oradel {
namespace {

// The program's home page, opened by the site command.
constexpr char kSiteAddress[] = "https://github.com/oradel/oradel";

constexpr char16_t kOpenDialogTitle[] = u"Выберите файл:";
constexpr char16_t kOpenDialogFilter[] =
    u"Текстовые файлы (*.txt)|*.txt|Файл путевых точек (*.wpt)|*.wpt|"
    u"Файл путевых точек (*.gpx)|*.gpx|Страницы (*.htm)|*.htm|Все файлы (*.*)|*.*";
constexpr char16_t kFileLabel[] = u"Файл: ";
constexpr char16_t kNoFile[] = u"Нет файла: ";
constexpr char16_t kChooseFile[] = u"Выберите файл, нажмите [Окрыть]";
constexpr char16_t kChooseOperations[] = u"Выберите операции";
constexpr char16_t kConversionFinished[] = u"Конвертация закончена";
constexpr char16_t kPointsLeftOut[] = u"Не удалось прочитать координаты, точки пропущены:";
constexpr char16_t kMoreNames[] = u"… и ещё %1";
// A message box shows at most this many names of points left out.
constexpr int kNamesListed = 30;

QString ControlName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// The first local file among the dropped items.
std::optional<QString> DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return std::nullopt;
}

QFont WindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kFontPointSize);
    return font;
}

}  // namespace

TForm1::TForm1(Desktop& desktop, std::filesystem::path settingsFile, QWidget* parent)
    : QWidget(parent), desktop_(desktop), settingsFile_(std::move(settingsFile)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ApplicationTitle());
    setFont(WindowFont());
    setAcceptDrops(true);
    CreateControls();
    ConnectCommands();
    FormCreate();
}

void TForm1::FindControls() {
    SpeedButton6 = findChild<QToolButton*>(QStringLiteral("SpeedButton6"));
    Label1 = findChild<QLabel*>(QStringLiteral("Label1"));
    Panel1 = findChild<QFrame*>(QStringLiteral("Panel1"));
    Memo1 = findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    for (const OptionControl& control : OptionControls()) {
        const QString name = ControlName(control.name);
        if (control.IsCheckBox()) {
            checkBoxes_.emplace(control.name, findChild<QCheckBox*>(name));
        } else {
            QLineEdit* field = findChild<QLineEdit*>(name);
            // A file dropped onto a field opens the file instead of pasting its name.
            field->setAcceptDrops(false);
            editFields_.emplace(control.name, field);
        }
    }
    Memo1->viewport()->installEventFilter(this);
}

void TForm1::ConnectCommands() {
    const std::pair<const char*, void (TForm1::*)()> commands[] = {
        {"SpeedButton1", &TForm1::SpeedButton1Click}, {"SpeedButton2", &TForm1::SpeedButton2Click},
        {"SpeedButton3", &TForm1::SpeedButton3Click}, {"SpeedButton4", &TForm1::SpeedButton4Click},
        {"SpeedButton5", &TForm1::SpeedButton5Click}, {"SpeedButton6", &TForm1::SpeedButton6Click},
    };
    for (const auto& [name, handler] : commands) {
        auto* button = findChild<QToolButton*>(QString::fromLatin1(name));
        connect(button, &QToolButton::clicked, this,
                [this, handler = handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    }
}

template <typename Command>
void TForm1::RunCommand(Command command) {
    try {
        command();
    } catch (const std::exception& failure) {
        ShowText(QString::fromUtf8(failure.what()));
    }
}

void TForm1::FormCreate() {
    selectedFileName.clear();
    resize(kWindowWidth, SpeedButton6->y() + SpeedButton6->height() + kHeightAllowance);
    ApplyOptions(LoadSettings(settingsFile_));
}

void TForm1::ApplyOptions(const Options& options) {
    for (const OptionControl& control : OptionControls()) {
        if (control.IsCheckBox()) {
            checkBoxes_.find(control.name)->second->setChecked(control.Ticked(options));
        } else {
            editFields_.find(control.name)
                ->second->setText(QString::fromStdString(Utf8FromCp1251(control.Text(options))));
        }
    }
}

void TForm1::FormClose() {
    RunCommand([this] { SaveSettings(settingsFile_, CurrentOptions()); });
}

Options TForm1::CurrentOptions() const {
    Options options;
    for (const OptionControl& control : OptionControls()) {
        if (control.IsCheckBox()) {
            control.SetTicked(options, checkBoxes_.find(control.name)->second->isChecked());
        } else {
            control.SetText(
                options,
                Cp1251FromUtf8(editFields_.find(control.name)->second->text().toStdString()));
        }
    }
    return options;
}

void TForm1::ShowMessage(const std::string& text) {
    ShowText(QString::fromStdString(text));
}

void TForm1::ShowText(const QString& text) {
    desktop_.ShowMessage(this, text);
}

// Open command.
void TForm1::SpeedButton1Click() {
    const QString filter = QString::fromUtf16(kOpenDialogFilter);
    const QStringList nameFilters = NameFiltersFromPairs(filter);
    const OpenFileRequest request{QString::fromUtf16(kOpenDialogTitle),
                                  QCoreApplication::applicationDirPath(), QStringLiteral("txt"),
                                  nameFilters, nameFilters.value(0)};
    if (const std::optional<QString> chosen = desktop_.ChooseFileToOpen(this, request)) {
        SelectFile(*chosen);
    }
    EnableOperationsByExtension();
}

void TForm1::OpenFile(const QString& path) {
    RunCommand([this, &path] {
        SelectFile(path);
        EnableOperationsByExtension();
    });
}

void TForm1::SelectFile(const QString& path) {
    selectedFileName = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    Label1->setText(QString::fromUtf16(kFileLabel) + selectedFileName);
    Label1->adjustSize();
}

QCheckBox* TForm1::OperationBox(const ConversionMode& mode) const {
    return checkBoxes_.find(OperationControl(mode.tickedBy).name)->second;
}

// Unticks the six operations and enables those that read files of the selected file's type.
void TForm1::EnableOperationsByExtension() {
    for (const ConversionMode& mode : ConversionModes()) {
        QCheckBox* box = OperationBox(mode);
        box->setChecked(false);
        box->setEnabled(false);
    }
    const std::optional<InputKind> kind = InputKindForName(selectedFileName.toStdString());
    for (const ConversionMode& mode : ConversionModes()) {
        if (kind == mode.input) OperationBox(mode)->setEnabled(true);
    }
}

// View command.
void TForm1::SpeedButton2Click() {
    if (selectedFileName.isEmpty()) SpeedButton1Click();
    if (QFileInfo(selectedFileName).isFile()) {
        desktop_.OpenUrl(QUrl::fromLocalFile(selectedFileName));
    } else {
        ShowText(QString::fromUtf16(kNoFile) + selectedFileName);
    }
}

bool TForm1::AnyOperationTicked() const {
    for (const ConversionMode& mode : ConversionModes()) {
        if (OperationBox(mode)->isChecked()) return true;
    }
    return false;
}

// Convert command: one job per ticked operation, in the table's fixed order.
void TForm1::SpeedButton3Click() {
    if (selectedFileName.isEmpty()) {
        ShowText(QString::fromUtf16(kChooseFile));
        return;
    }
    if (!AnyOperationTicked()) {
        ShowText(QString::fromUtf16(kChooseOperations));
        return;
    }
    const std::filesystem::path input = PathFromText(selectedFileName.toStdString());
    for (const ConversionMode& mode : ConversionModes()) {
        if (!OperationBox(mode)->isChecked()) continue;
        const JobOutcome outcome = RunConversion(mode, input, CurrentOptions(), *this);
        ReportLeftOutPoints(outcome.leftOutPoints);
    }
    ShowText(QString::fromUtf16(kConversionFinished));
}

// Points a job could not write are named, so a partial result does not pass for a full one.
void TForm1::ReportLeftOutPoints(const std::vector<std::string>& names) {
    if (names.empty()) return;
    QStringList lines{QString::fromUtf16(kPointsLeftOut)};
    const int listed = std::min<int>(kNamesListed, static_cast<int>(names.size()));
    for (int index = 0; index < listed; ++index) {
        lines << QString::fromStdString(Utf8FromCp1251(names[static_cast<std::size_t>(index)]));
    }
    if (names.size() > static_cast<std::size_t>(listed)) {
        lines << QString::fromUtf16(kMoreNames).arg(names.size() - listed);
    }
    ShowText(lines.join(u'\n'));
}

// Site command.
void TForm1::SpeedButton4Click() {
    desktop_.OpenUrl(QUrl(QString::fromLatin1(kSiteAddress)));
}

// Help command: the help text covers the whole window until it is clicked.
void TForm1::SpeedButton5Click() {
    if (Panel1->isVisibleTo(this)) SpeedButton6Click();
    helpFillsWindow_ = true;
    Memo1->setGeometry(rect());
    Memo1->raise();
    Memo1->show();
}

void TForm1::Memo1Click() {
    Memo1->hide();
}

// Panel toggle: shows or hides the web-page options and fits the window's height to it.
void TForm1::SpeedButton6Click() {
    const bool show = !Panel1->isVisibleTo(this);
    Panel1->setVisible(show);
    const QWidget* lowest = show ? static_cast<QWidget*>(Panel1) : SpeedButton6;
    resize(width(), lowest->y() + lowest->height() + kHeightAllowance);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Once shown, the help text fills the window, hidden or not.
    if (helpFillsWindow_) Memo1->setGeometry(rect());
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (centredOnce_) return;
    centredOnce_ = true;
    if (const QScreen* shownOn = screen()) {
        move(shownOn->availableGeometry().center() - rect().center());
    }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFile(event->mimeData())) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    if (const std::optional<QString> file = DroppedFile(event->mimeData())) {
        event->acceptProposedAction();
        OpenFile(*file);
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        RunCommand([this] { Memo1Click(); });
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace oradel
