// What only the Qt view shows: widgets made from the form's table, real
// clicks, keys, drops and closing reaching the form, the desktop's own dialogs,
// and screenshots of the window.
#include "ui/main_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <deque>
#include <memory>
#include <stdexcept>

#include "engine/files.hpp"
#include "ui/desktop.hpp"
#include "ui/window_metrics.hpp"

namespace oradel {
namespace {

class RecordingDesktop final : public Desktop {
  public:
    void ShowMessage(QWidget*, const QString& text) override { messages << text; }
    bool AskYesNo(QWidget*, const QString& text) override {
        messages << text;
        return true;
    }
    std::optional<QString> ChooseFileToOpen(QWidget*, const OpenFileRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        const std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void OpenUrl(const QUrl& url) override { openedUrls << url; }
    void ShowDiagnostics(QWidget*, const DiagnosticsRequest& request) override {
        for (const DiagnosticRow& row : request.rows) {
            messages << QString::number(row.line) + u' ' + QString::fromStdString(row.text);
        }
    }

    QStringList messages;
    std::deque<std::optional<QString>> answers;  // nullopt: the user cancels
    std::vector<OpenFileRequest> requests;
    QList<QUrl> openedUrls;
};

std::filesystem::path PathOf(const QString& file) {
    return PathFromText(file.toStdString());
}

// One run of the window in a scratch folder.
class Session {
  public:
    Session()
        : settingsFile(folder.filePath("oradel.ini")),
          window(std::make_unique<MainWindow>(
              desktop, FormSetup{PathOf(settingsFile), PathOf(folder.path()), "", {}})) {
        window->show();
    }

    template <typename Control = QWidget>
    Control* Find(const QString& name) const {
        auto* control = window->findChild<Control*>(name);
        if (control == nullptr) throw std::logic_error("no control " + name.toStdString());
        return control;
    }
    void Click(const QString& button) const {
        QTest::mouseClick(Find<QToolButton>(button), Qt::LeftButton);
    }
    QString File(const QString& name) const { return folder.filePath(name); }
    void Choose(const QString& path) {
        desktop.answers.push_back(path);
        Click(QStringLiteral("openButton"));
    }

    QTemporaryDir folder;
    QString settingsFile;
    RecordingDesktop desktop;
    std::unique_ptr<MainWindow> window;
};

// The control's place in the table, scaled to 96 dpi.
QRect ScaledPlace(std::string_view name) {
    const ControlRow& row = *FindControl(name);
    return QRect(Scaled(row.left), Scaled(row.top), Scaled(row.width), Scaled(row.height));
}

// The client heights without and with the panel: the bottom of the panel's
// button and of the panel, plus the margin, at 120 dpi scaled to 96.
int ClientHeightBelow(std::string_view name) {
    const ControlRow& row = *FindControl(name);
    return Scaled(row.top + row.height + kClientBottomMargin);
}
const int kHeightWithoutPanel = ClientHeightBelow(kPanelToggle);
const int kHeightWithPanel = ClientHeightBelow(kOptionsPanel);

QString Name(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsMadeFromTheTable();
    void controlsAsLaidOut_data();
    void controlsAsLaidOut();
    void keyboardOrder();
    void clicksReachTheForm();
    void keysReachTheForm_data();
    void keysReachTheForm();
    void droppedFileOpens();
    void realMessageBoxAndOpenDialog();
    void screenshots();
};

// Every row of the table is a widget under its parent, in the table's order.
void MainWindowTest::controlsMadeFromTheTable() {
    const Session session;
    QMap<QString, QStringList> children;
    for (const ControlRow& row : Controls()) {
        const QWidget* control = session.Find(Name(row.name));
        const QString parent =
            row.parent.empty() ? QStringLiteral("OradelWindow") : Name(row.parent);
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QCOMPARE(control->focusPolicy() == Qt::NoFocus, !row.takesFocus);
        QCOMPARE(control->toolTip(), Name(row.hint));
        children[parent] << Name(row.name);
    }
    for (const QString& parent : children.keys()) {
        const QWidget* made =
            parent == "OradelWindow" ? session.window.get() : session.Find(parent);
        QStringList names;
        for (const QWidget* child : made->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            names << child->objectName();
        }
        QCOMPARE(names, children[parent]);
    }
}

void MainWindowTest::controlsAsLaidOut_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    // Pixels at 120 dpi times 96/120.
    QTest::newRow("open") << "openButton" << QRect(19, 45, 71, 20);
    QTest::newRow("mode 15") << "CheckBox15" << QRect(19, 142, 449, 14);
    QTest::newRow("panel") << "pageOptionsPanel" << ScaledPlace(kOptionsPanel);
    QTest::newRow("in the panel") << "Edit3" << QRect(434, 181, 73, 19);
    QTest::newRow("help") << "helpText" << QRect(0, 0, 583, 20);
}

void MainWindowTest::controlsAsLaidOut() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    const Session session;
    QCOMPARE(session.Find(name)->geometry(), geometry);
    QVERIFY(session.Find<QToolButton>("openButton")->autoRaise());
}

void MainWindowTest::keyboardOrder() {
    const Session session;
    QStringList expected;
    for (std::string_view name : KeyboardOrder()) expected << Name(name);
    QWidget* first = session.Find(expected.front());
    QStringList order;
    QWidget* widget = first;
    do {
        if (expected.contains(widget->objectName())) order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first);
    QCOMPARE(order, expected);
}

// Each button's click runs its command in the form: seen in what the form asks of the desktop.
void MainWindowTest::clicksReachTheForm() {
    Session session;
    session.Click("convertButton");
    QCOMPARE(session.desktop.messages, QStringList{"Выберите файл, нажмите [Открыть]"});
    session.Choose(session.File("alps.txt"));
    QCOMPARE(session.desktop.requests.size(), std::size_t{1});
    QCOMPARE(session.Find<QLabel>("fileLabel")->text(),
             "Файл: " + QDir::toNativeSeparators(session.File("alps.txt")));
    QVERIFY(session.Find<QCheckBox>("CheckBox2")->isEnabled());
    QVERIFY(!session.Find<QCheckBox>("CheckBox1")->isEnabled());
    session.Click("viewButton");
    QCOMPARE(session.desktop.messages.last(),
             "Нет файла: " + QDir::toNativeSeparators(session.File("alps.txt")));
    session.Click("siteButton");  // no home page, no user guide
    QVERIFY(session.desktop.messages.last().contains("oradel-guide.html"));

    QCOMPARE(session.window->height(), kHeightWithoutPanel);
    session.Click("pageOptionsButton");
    QVERIFY(session.Find("pageOptionsPanel")->isVisible());
    QCOMPARE(session.window->height(), kHeightWithPanel);
    session.Click("helpButton");
    auto* memo = session.Find<QPlainTextEdit>("helpText");
    QVERIFY(memo->isVisible());
    QVERIFY(!session.Find("pageOptionsPanel")->isVisible());
    QCOMPARE(memo->geometry(), session.window->rect());
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QVERIFY(!memo->isVisible());
    QCOMPARE(session.desktop.messages.size(), 3);

    QTest::mouseClick(session.Find<QCheckBox>("CheckBox6"), Qt::LeftButton);
    QVERIFY(session.window->close());  // saves the settings
    QFile settings(session.settingsFile);
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(settings.readAll().contains("\r\nCheckBox6=0\r\n"));
}

void MainWindowTest::keysReachTheForm_data() {
    QTest::addColumn<QString>("focus");  // the control with the keyboard focus
    QTest::newRow("check box") << "CheckBox1";
    QTest::newRow("edit field") << "Edit1";
    QTest::newRow("help text") << "helpText";
}

void MainWindowTest::keysReachTheForm() {
    QFETCH(QString, focus);
    Session session;
    session.Click("pageOptionsButton");
    QWidget* control = session.Find(focus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(session.desktop.requests.size(), std::size_t{1});
    QTest::keyClick(control, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(session.desktop.messages, QStringList{"Выберите файл, нажмите [Открыть]"});
    QTest::keyClick(control, Qt::Key_F7);
    QCOMPARE(session.desktop.messages.size(), 2);
    QTest::keyClick(control, Qt::Key_F1);
    QVERIFY(session.Find("helpText")->isVisible());
    QTest::keyClick(control, Qt::Key_Escape);
    QVERIFY(!session.Find("helpText")->isVisible());
}

void MainWindowTest::droppedFileOpens() {
    Session session;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(session.File("dropped.gpx"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(session.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(session.window.get(), &drop);
    QCOMPARE(session.Find<QLabel>("fileLabel")->text(),
             "Файл: " + QDir::toNativeSeparators(session.File("dropped.gpx")));
    QVERIFY(session.Find<QCheckBox>("CheckBox15")->isEnabled());
    QVERIFY(!session.Find<QLineEdit>("Edit1")->acceptDrops());
}

// The desktop's own message box and open dialog, closed by a timer as a user would.
void MainWindowTest::realMessageBoxAndOpenDialog() {
    QtDesktop desktop;
    bool shown = false;
    QString caption;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        shown = true;
        caption = box->windowTitle();
        format = box->textFormat();
        buttons = box->standardButtons();
        box->accept();
    });
    desktop.ShowMessage(nullptr, QStringLiteral("<b>Нет файла </b>"));
    QVERIFY(shown);
    QCOMPARE(caption, QStringLiteral("Oradel"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    QTemporaryDir folder;
    const OpenFileRequest request{"Выберите файл:",
                                  PathOf(folder.path()),
                                  "txt",
                                  {{"Точки", "*.txt;*.wpt"}, {"Все файлы (*.*)", "*.*"}}};
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::Directory;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        caption = dialog->windowTitle();
        filters = dialog->nameFilters() << dialog->selectedNameFilter();
        mode = dialog->fileMode();
        dialog->selectFile(folder.filePath("new"));  // does not exist
        static_cast<QDialog*>(dialog)->accept();     // the dialog's own Open button
    });
    QCOMPARE(desktop.ChooseFileToOpen(nullptr, request), folder.filePath("new.txt"));
    QCOMPARE(caption, QStringLiteral("Выберите файл:"));
    QCOMPARE(filters, QStringList({"Точки (*.txt *.wpt)", "Все файлы (*)", "Точки (*.txt *.wpt)"}));
    QCOMPARE(mode, QFileDialog::AnyFile);  // a new name is accepted

    // The list check's window: its rows, a double-click's line, a screenshot.
    std::vector<std::size_t> openedLines;
    const DiagnosticsRequest check{"Проверка списка",
                                   "Строка",
                                   "Важность",
                                   "Что не так",
                                   {{1, "заметка", "Список прочитан в кодировке Windows-1251"},
                                    {7, "ошибка", "Нет долготы после «43.9868»"}},
                                   [&](std::size_t line) { openedLines.push_back(line); }};
    int rows = 0;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) return;
        caption = dialog->windowTitle();
        auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("diagnosticsList"));
        rows = list->topLevelItemCount();
        emit list->itemActivated(list->topLevelItem(1), 0);
        dialog->grab().save(QStringLiteral(ORADEL_SCREENSHOT_DIR) + "/oradel-check.png");
        static_cast<QDialog*>(dialog)->accept();
    });
    desktop.ShowDiagnostics(nullptr, check);
    QCOMPARE(caption, QStringLiteral("Oradel: Проверка списка"));
    QCOMPARE(rows, 2);
    QCOMPARE(openedLines, std::vector<std::size_t>{7});
}

void MainWindowTest::screenshots() {
    Session session;
    session.Choose(session.File("alps.txt"));
    const QString folder = QStringLiteral(ORADEL_SCREENSHOT_DIR);
    QVERIFY(session.window->grab().save(folder + "/oradel-window.png"));
    session.Click("pageOptionsButton");
    QVERIFY(session.window->grab().save(folder + "/oradel-panel.png"));
    session.Click("helpButton");
    QVERIFY(session.window->grab().save(folder + "/oradel-help.png"));
}

}  // namespace oradel

QTEST_MAIN(oradel::MainWindowTest)
#include "main_window_test.moc"
