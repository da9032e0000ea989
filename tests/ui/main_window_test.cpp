// The window driven as a user drives it: clicks on its buttons, with the
// dialogs answered and every message recorded in order.
#include "ui/main_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <memory>
#include <stdexcept>

#include "engine/conversion_modes.hpp"
#include "engine/files.hpp"
#include "engine/options.hpp"
#include "options/option_controls.hpp"
#include "text/codepage.hpp"
#include "ui/desktop.hpp"
#include "ui/settings_location.hpp"

namespace oradel {
namespace {

const QStringList kOperations = {"CheckBox1", "CheckBox15", "CheckBox2",
                                 "CheckBox3", "CheckBox4",  "CheckBox5"};

class RecordingDesktop final : public Desktop {
  public:
    void ShowMessage(QWidget*, const QString& text) override { messages << text; }
    std::optional<QString> ChooseFileToOpen(QWidget*, const OpenFileRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        const std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void OpenUrl(const QUrl& url) override { openedUrls << url; }

    QStringList messages;
    std::deque<std::optional<QString>> answers;  // nullopt: the user cancels
    std::vector<OpenFileRequest> requests;
    QList<QUrl> openedUrls;
};

std::filesystem::path PathOf(const QString& file) {
    return PathFromText(file.toStdString());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Ansi(const char* utf8) {
    return QByteArray::fromStdString(Cp1251FromUtf8(utf8));
}

// True when the operation's format is built into the engine.
bool Built(const QString& checkBox) {
    for (const ConversionMode& mode : ConversionModes()) {
        const std::string_view name = OperationControl(mode.tickedBy).name;
        if (QString::fromLatin1(name.data(), qsizetype(name.size())) == checkBox) {
            return mode.body != nullptr;
        }
    }
    return false;
}

// One run of the program in a scratch folder; a relative settings name is taken in that folder.
class Session {
  public:
    explicit Session(const QString& settings = QStringLiteral("oradel.ini"))
        : settingsFile(QDir(folder.path()).filePath(settings)),
          form(std::make_unique<TForm1>(desktop, PathOf(settingsFile))) {
        form->show();
    }

    template <typename Control = QWidget>
    Control* Find(const QString& name) const {
        auto* control = form->findChild<Control*>(name);
        if (control == nullptr) throw std::logic_error("no control " + name.toStdString());
        return control;
    }
    QCheckBox* Box(const QString& name) const { return Find<QCheckBox>(name); }
    void Click(const QString& button) const {
        QTest::mouseClick(Find<QToolButton>(button), Qt::LeftButton);
    }
    QString File(const QString& name) const { return folder.filePath(name); }
    void Choose(const QString& path) {
        desktop.answers.push_back(path);
        Click(QStringLiteral("SpeedButton1"));
    }
    void Tick(const QStringList& boxes) const {
        for (const QString& box : boxes) Box(box)->setChecked(true);
    }

    QTemporaryDir folder;
    QString settingsFile;
    RecordingDesktop desktop;
    std::unique_ptr<TForm1> form;
};

const QString kFinished = QStringLiteral("Конвертация закончена");
const QByteArray kPointList = Ansi(
    ":Кавказ\r\nЮца <Ю ЮЗ>\r\n43.9612 42.9845\r\nСтарт на южном склоне\r\n\r\n"
    "Джуца\r\n43.9868 42.9702\r\nСеверный старт\r\n");

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsInCreationOrder();
    void controlsAsLaidOut_data();
    void controlsAsLaidOut();
    void keyboardOrder();
    void enablesOperationsByExtension_data();
    void enablesOperationsByExtension();
    void cancelledOpenKeepsEarlierFile();
    void openDialogAsRequested();
    void fileGivenOrDropped();
    void viewCommand();
    void siteCommand();
    void convertNeedsFileAndOperations();
    void missingFileGivesOneMessagePerJob();
    void convertWritesFiles_data();
    void convertWritesFiles();
    void failedJobStopsConvertAndWindowGoesOn();
    void namesPointsLeftOut_data();
    void namesPointsLeftOut();
    void answersOptionsFromLiveControls();
    void panelToggleSetsHeight();
    void helpClosesPanelFirst();
    void helpTextIsComplete();
    void settingsRoundTrip();
    void settingsIntegerRule_data();
    void settingsIntegerRule();
    void settingsKeepForeignContent();
    void failedSaveIsShownAndWindowCloses();
    void settingsLocation();
    void realMessageBoxAndOpenDialog();
    void screenshots();
};

void MainWindowTest::controlsInCreationOrder() {
    const Session session;
    const auto names = [](const QWidget* parent) {
        QStringList found;
        for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            found << child->objectName();
        }
        return found;
    };
    QCOMPARE(names(session.form.get()),
             QStringList({"SpeedButton1", "SpeedButton2", "Label1", "SpeedButton3", "Label2",
                          "SpeedButton4", "SpeedButton5", "SpeedButton6", "Bevel1", "CheckBox4",
                          "CheckBox3", "CheckBox5", "CheckBox2", "CheckBox1", "Panel1",
                          "CheckBox15", "Memo1"}));
    QCOMPARE(names(session.Find("Panel1")),
             QStringList({"Label3",     "Label4",     "Label5",     "Label6",     "Label7",
                          "Label8",     "Label9",     "CheckBox6",  "CheckBox7",  "CheckBox8",
                          "CheckBox9",  "CheckBox10", "CheckBox11", "CheckBox12", "CheckBox13",
                          "CheckBox14", "CheckBox16", "CheckBox17", "CheckBox18", "CheckBox19",
                          "Edit1",      "Edit2",      "Edit3",      "cRS",        "cFI",
                          "cRS2",       "CheckBox20", "CheckBox21"}));
}

void MainWindowTest::controlsAsLaidOut_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    // Pixels at 120 dpi times 96/120.
    QTest::newRow("open") << "SpeedButton1"
                          << "Form1" << QRect(19, 45, 71, 20);
    QTest::newRow("panel toggle") << "SpeedButton6"
                                  << "Form1" << QRect(438, 268, 126, 20);
    QTest::newRow("mode 3") << "CheckBox3"
                            << "Form1" << QRect(19, 244, 558, 14);
    QTest::newRow("mode 15") << "CheckBox15"
                             << "Form1" << QRect(19, 142, 449, 14);
    QTest::newRow("panel") << "Panel1"
                           << "Form1" << QRect(19, 299, 545, 214);
    QTest::newRow("filter") << "cFI"
                            << "Panel1" << QRect(357, 12, 79, 14);
    QTest::newRow("certificate") << "Edit3"
                                 << "Panel1" << QRect(434, 181, 73, 19);
    QTest::newRow("help") << "Memo1"
                          << "Form1" << QRect(0, 0, 583, 20);
}

void MainWindowTest::controlsAsLaidOut() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    const Session session;
    const QWidget* control = session.Find(name);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
    for (int number = 1; number <= 6; ++number) {
        const auto* button = session.Find<QToolButton>(QStringLiteral("SpeedButton%1").arg(number));
        QVERIFY(button->autoRaise());
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }
}

void MainWindowTest::keyboardOrder() {
    const Session session;
    QWidget* first = session.Find(QStringLiteral("CheckBox1"));
    QStringList order;
    QWidget* widget = first;
    do {
        const QWidget* parent = widget->parentWidget();
        const bool control =
            parent != nullptr && (parent == session.form.get() || parent->objectName() == "Panel1");
        if (control && (widget->focusPolicy() & Qt::TabFocus)) order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first);
    QCOMPARE(order,
             QStringList({"CheckBox1",  "CheckBox15", "CheckBox2",  "CheckBox5",  "CheckBox3",
                          "CheckBox4",  "Memo1",      "cRS",        "cRS2",       "cFI",
                          "CheckBox6",  "CheckBox7",  "CheckBox8",  "CheckBox20", "CheckBox9",
                          "CheckBox13", "CheckBox10", "CheckBox11", "CheckBox14", "CheckBox12",
                          "CheckBox21", "CheckBox16", "CheckBox17", "CheckBox18", "CheckBox19",
                          "Edit1",      "Edit2",      "Edit3"}));
}

void MainWindowTest::enablesOperationsByExtension_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("enabled");
    const QStringList exports = {"CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"};
    QTest::newRow("point list, upper case") << "alps.TXT" << exports;
    QTest::newRow("flight app export") << "alps.Wpt" << QStringList{"CheckBox1"};
    QTest::newRow("navigator export") << "points.gpx" << QStringList{"CheckBox15"};
    QTest::newRow("other extension") << "notes.doc" << QStringList{};
    QTest::newRow("no extension") << "alps" << QStringList{};
    QTest::newRow("dot in folder only") << "maps.txt/alps" << QStringList{};
    QTest::newRow("name is only the extension") << ".txt" << exports;
    QTest::newRow("trailing dot") << "alps.txt." << QStringList{};
    QTest::newRow("accented letter") << "alps.txť" << QStringList{};
}

void MainWindowTest::enablesOperationsByExtension() {
    QFETCH(QString, fileName);
    QFETCH(QStringList, enabled);
    Session session;
    session.Choose(session.File(fileName));
    const QString shown = QDir::toNativeSeparators(session.File(fileName));
    QCOMPARE(session.Find<QLabel>("Label1")->text(), QStringLiteral("Файл: ") + shown);
    for (const QString& box : kOperations) {
        QCOMPARE(session.Box(box)->isEnabled(), enabled.contains(box));
        QVERIFY(!session.Box(box)->isChecked());
    }
    QVERIFY(session.desktop.messages.isEmpty());
}

void MainWindowTest::cancelledOpenKeepsEarlierFile() {
    Session session;
    session.Choose(session.File("alps.txt"));
    session.Tick({"CheckBox2", "CheckBox4"});
    session.Click("SpeedButton1");  // cancelled
    QCOMPARE(session.Find<QLabel>("Label1")->text(),
             QStringLiteral("Файл: ") + QDir::toNativeSeparators(session.File("alps.txt")));
    for (const QString& box : kOperations) {
        QVERIFY(!session.Box(box)->isChecked());
        QCOMPARE(session.Box(box)->isEnabled(), box != "CheckBox1" && box != "CheckBox15");
    }
}

void MainWindowTest::openDialogAsRequested() {
    Session session;
    session.Click("SpeedButton1");
    QCOMPARE(session.desktop.requests.size(), std::size_t{1});
    const OpenFileRequest& request = session.desktop.requests.front();
    const QStringList filters = {"Текстовые файлы (*.txt)", "Файл путевых точек (*.wpt)",
                                 "Файл путевых точек (*.gpx)", "Страницы (*.htm)", "Все файлы (*)"};
    QCOMPARE(request.title, QStringLiteral("Выберите файл:"));
    QCOMPARE(request.folder, QCoreApplication::applicationDirPath());
    QCOMPARE(request.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(request.nameFilters, filters);
    QCOMPARE(request.selectedFilter, filters.front());
    QCOMPARE(NameFiltersFromPairs("Points|*.txt;*.wpt|All (*.*)|*.*"),
             QStringList({"Points (*.txt *.wpt)", "All (*)"}));

    QFileDialog dialog;
    ConfigureOpenDialog(dialog, request);
    QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);  // a new name is accepted
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.windowTitle(), request.title);
    QCOMPARE(dialog.defaultSuffix(), request.defaultSuffix);
    QCOMPARE(dialog.nameFilters(), filters);
    QCOMPARE(dialog.selectedNameFilter(), filters.front());
    QCOMPARE(dialog.directory().absolutePath(), QDir(request.folder).absolutePath());
}

void MainWindowTest::fileGivenOrDropped() {
    Session session;
    const QString workingFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(session.folder.path()));
    session.form->OpenFile("given.wpt");  // relative, as on a command line
    QDir::setCurrent(workingFolder);
    QCOMPARE(session.Find<QLabel>("Label1")->text(),
             QStringLiteral("Файл: ") + QDir::toNativeSeparators(session.File("given.wpt")));
    QVERIFY(session.Box("CheckBox1")->isEnabled());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(session.File("dropped.gpx"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(session.form.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(session.form.get(), &drop);
    QCOMPARE(session.Find<QLabel>("Label1")->text(),
             QStringLiteral("Файл: ") + QDir::toNativeSeparators(session.File("dropped.gpx")));
    QVERIFY(session.Box("CheckBox15")->isEnabled());
    QVERIFY(!session.Box("CheckBox1")->isEnabled());
}

void MainWindowTest::viewCommand() {
    Session session;
    session.Click("SpeedButton2");  // no file yet: the open dialog, cancelled
    QCOMPARE(session.desktop.requests.size(), std::size_t{1});
    QCOMPARE(session.desktop.messages, QStringList{"Нет файла: "});

    session.Choose(session.File("missing.txt"));
    session.Click("SpeedButton2");
    QCOMPARE(session.desktop.messages.last(),
             QStringLiteral("Нет файла: ") + QDir::toNativeSeparators(session.File("missing.txt")));

    WriteFile(session.File("alps.txt"), kPointList);
    session.Choose(session.File("alps.txt"));
    session.Click("SpeedButton2");
    QCOMPARE(session.desktop.openedUrls,
             QList<QUrl>{QUrl::fromLocalFile(session.File("alps.txt"))});
    QCOMPARE(session.desktop.messages.size(), 2);
}

void MainWindowTest::siteCommand() {
    Session session;
    session.Click("SpeedButton4");
    QCOMPARE(session.desktop.openedUrls.size(), 1);
    QCOMPARE(session.desktop.openedUrls.front().scheme(), QStringLiteral("https"));
    QVERIFY(session.desktop.messages.isEmpty());
}

void MainWindowTest::convertNeedsFileAndOperations() {
    Session session;
    session.Click("SpeedButton3");
    QCOMPARE(session.desktop.messages, QStringList{"Выберите файл, нажмите [Окрыть]"});
    session.Choose(session.File("notes.doc"));
    session.Click("SpeedButton3");
    QCOMPARE(session.desktop.messages.last(), QStringLiteral("Выберите операции"));
    QCOMPARE(session.desktop.messages.size(), 2);
}

void MainWindowTest::missingFileGivesOneMessagePerJob() {
    QStringList built;
    for (const QString& box : QStringList{"CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"}) {
        if (Built(box)) built << box;
    }
    if (built.size() < 2) QSKIP("fewer than two point-list formats are built");
    Session session;
    session.Choose(session.File("missing.txt"));
    session.Tick(built.mid(0, 2));
    session.Click("SpeedButton3");
    const QString noFile = QStringLiteral("Нет файла ") + session.File("missing.txt");
    QCOMPARE(session.desktop.messages, QStringList({noFile, noFile, kFinished}));
    QCOMPARE(QDir(session.folder.path()).entryList(QDir::Files), QStringList{});
}

void MainWindowTest::convertWritesFiles_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("output");
    QTest::newRow("mode 2") << "CheckBox2"
                            << "alps.wpt";
    QTest::newRow("mode 3") << "CheckBox3"
                            << "alps_nav.wpt";
    QTest::newRow("mode 4") << "CheckBox4"
                            << "alps.htm";
    QTest::newRow("mode 5") << "CheckBox5"
                            << "alps_lk8.wpt";
}

void MainWindowTest::convertWritesFiles() {
    QFETCH(QString, operation);
    QFETCH(QString, output);
    if (!Built(operation)) QSKIP("format not built yet");
    Session session;
    WriteFile(session.File("alps.txt"), kPointList);
    session.Choose(session.File("alps.txt"));
    session.Tick({operation});
    session.Click("SpeedButton3");
    QCOMPARE(session.desktop.messages, QStringList{kFinished});
    QVERIFY(!ReadFile(session.File(output)).isEmpty());
    QVERIFY(!QFile::exists(session.File(output + "$")));
    // The ticks stay, so the same file converts again.
    QVERIFY(session.Box(operation)->isChecked());
}

void MainWindowTest::failedJobStopsConvertAndWindowGoesOn() {
    if (!Built("CheckBox3")) QSKIP("mode 3 not built");
    Session session;
    WriteFile(session.File("alps.txt"), kPointList);
    session.Choose(session.File("alps.txt"));
    session.Tick({"CheckBox3", "CheckBox4", "CheckBox5"});
    // A folder where mode 3 must write its file.
    QVERIFY(QDir(session.folder.path()).mkdir("alps_nav.wpt"));
    session.Click("SpeedButton3");
    QCOMPARE(session.desktop.messages.size(), 1);
    QVERIFY(session.desktop.messages.front().contains("alps_nav.wpt"));
    QVERIFY(!QFile::exists(session.File("alps.htm")));  // later jobs did not run
    QVERIFY(!QFile::exists(session.File("alps_lk8.wpt")));

    QVERIFY(QDir(session.folder.path()).rmdir("alps_nav.wpt"));
    session.Tick({"CheckBox3"});
    session.Box("CheckBox4")->setChecked(false);
    session.Box("CheckBox5")->setChecked(false);
    session.Click("SpeedButton3");
    QCOMPARE(session.desktop.messages.last(), kFinished);
    QVERIFY(QFile::exists(session.File("alps_nav.wpt")));
}

void MainWindowTest::namesPointsLeftOut_data() {
    QTest::addColumn<int>("unreadable");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("one") << 1 << "Точка 1";
    QTest::newRow("more than a box lists") << 32 << "… и ещё 2";
}

void MainWindowTest::namesPointsLeftOut() {
    QFETCH(int, unreadable);
    QFETCH(QString, lastLine);
    if (!Built("CheckBox2")) QSKIP("mode 2 not built yet");
    Session session;
    QByteArray list = kPointList + "\r\n";
    for (int number = 1; number <= unreadable; ++number) {
        list += Ansi("Точка ") + QByteArray::number(number) + "\r\nnorth east\r\n\r\n";
    }
    WriteFile(session.File("alps.txt"), list);
    session.Choose(session.File("alps.txt"));
    session.Tick({"CheckBox2"});
    session.Click("SpeedButton3");
    QCOMPARE(session.desktop.messages.size(), 2);
    const QStringList lines = session.desktop.messages.front().split(u'\n');
    QCOMPARE(lines.front(), QStringLiteral("Не удалось прочитать координаты, точки пропущены:"));
    QCOMPARE(lines.value(1), QStringLiteral("Точка 1"));
    QCOMPARE(lines.last(), lastLine);
    QCOMPARE(lines.size(), qsizetype{1} + std::min(unreadable, 31));
    QCOMPARE(session.desktop.messages.last(), kFinished);
}

void MainWindowTest::answersOptionsFromLiveControls() {
    Session session;
    QVERIFY(session.form->CurrentOptions().page.filter);
    QTest::mouseClick(session.Box("cFI"), Qt::LeftButton);
    QVERIFY(!session.form->CurrentOptions().page.filter);
    session.Find<QLineEdit>("Edit1")->setText(QStringLiteral("А123ВС"));
    QCOMPARE(session.form->CurrentOptions().page.carNumber, Cp1251FromUtf8("А123ВС"));
}

void MainWindowTest::panelToggleSetsHeight() {
    Session session;
    const QWidget* panel = session.Find("Panel1");
    // (430 - 70) and (711 - 70) pixels at 120 dpi, scaled, plus the unscaled 70.
    QCOMPARE(session.form->height(), 358);
    session.Click("SpeedButton6");
    QVERIFY(panel->isVisible());
    QCOMPARE(session.form->height(), 583);
    session.Click("SpeedButton6");
    QVERIFY(!panel->isVisible());
    QCOMPARE(session.form->height(), 358);
}

void MainWindowTest::helpClosesPanelFirst() {
    Session session;
    auto* memo = session.Find<QPlainTextEdit>("Memo1");
    QVERIFY(!memo->isVisible());
    session.Click("SpeedButton6");
    session.Click("SpeedButton5");
    QVERIFY(!session.Find("Panel1")->isVisible());
    QCOMPARE(session.form->height(), 358);
    QVERIFY(memo->isVisible());
    QCOMPARE(memo->geometry(), session.form->rect());
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QVERIFY(!memo->isVisible());
    QVERIFY(!session.Find("Panel1")->isVisible());
}

void MainWindowTest::helpTextIsComplete() {
    const Session session;
    const QStringList lines = session.Find<QPlainTextEdit>("Memo1")->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 72);
    QCOMPARE(lines[2], QStringLiteral("         Oradel для лётных программ XCTrack, LK8000"));
    QCOMPARE(lines[14],
             QStringLiteral("- лётную программу LK8000  (к имени файла добавляет \"_lk8\")"));
    QCOMPARE(lines[52],
             QStringLiteral(
                 "   в номере телефона допускаются символы \"+\", \"(\", \")\", \" \", \"-\""));
    QCOMPARE(lines[64], QStringLiteral("                       ЗАКРЫТЬ справку - КЛИКНИ по ней"));
    for (int line : {1, 2, 5, 6, 8, 59, 64, 66, 72}) QVERIFY(lines[line - 1].isEmpty());
}

void MainWindowTest::settingsRoundTrip() {
    QTemporaryDir folder;
    const QString settings = folder.filePath("oradel.ini");
    {
        Session first(settings);
        for (const OptionControl& control : OptionControls()) {
            const QString name =
                QString::fromLatin1(control.name.data(), qsizetype(control.name.size()));
            if (control.IsCheckBox()) {
                QCOMPARE(first.Box(name)->isChecked(), name != "cRS2");
            } else {
                QVERIFY(first.Find<QLineEdit>(name)->text().isEmpty());
            }
        }
        first.Choose(first.File("notes.txt"));  // unticks the operations
        first.Box("CheckBox6")->setChecked(false);
        first.Box("cRS2")->setChecked(true);
        first.Tick({"CheckBox3"});
        first.Find<QLineEdit>("Edit1")->setText(QStringLiteral("А123ВС"));
        QVERIFY(first.form->close());
        QVERIFY(first.desktop.messages.isEmpty());
    }
    const QList<QByteArray> lines = ReadFile(settings).split('\n');
    QCOMPARE(lines.value(0), QByteArray("[save_parametr_all]\r"));
    QCOMPARE(lines.value(1), QByteArray("CheckBox4=0\r"));
    QCOMPARE(lines.value(19), "Edit1=" + Ansi("А123ВС") + "\r");
    QCOMPARE(lines.value(27), QByteArray("CheckBox15=0\r"));

    const Session second(settings);
    QVERIFY(!second.Box("CheckBox6")->isChecked());
    QVERIFY(second.Box("cRS2")->isChecked());
    QVERIFY(second.Box("CheckBox3")->isChecked());
    QVERIFY(!second.Box("CheckBox2")->isChecked());
    QVERIFY(second.Box("CheckBox7")->isChecked());
    QCOMPARE(second.Find<QLineEdit>("Edit1")->text(), QStringLiteral("А123ВС"));
}

void MainWindowTest::settingsIntegerRule_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("ticked");      // CheckBox6, ticked by default
    QTest::addColumn<bool>("openTicked");  // cRS2, not ticked by default
    QTest::newRow("hexadecimal") << QByteArray("0x10") << true << true;
    QTest::newRow("double zero") << QByteArray("00") << false << false;
    QTest::newRow("zero") << QByteArray("0") << false << false;
    QTest::newRow("minus one") << QByteArray("-1") << true << true;
    QTest::newRow("word") << QByteArray("yes") << true << false;
    QTest::newRow("empty") << QByteArray("") << true << false;
    QTest::newRow("bare prefix") << QByteArray("0x") << true << false;
}

void MainWindowTest::settingsIntegerRule() {
    QFETCH(QByteArray, value);
    QFETCH(bool, ticked);
    QFETCH(bool, openTicked);
    QTemporaryDir folder;
    const QString settings = folder.filePath("oradel.ini");
    WriteFile(settings, "[save_parametr_all]\r\nCheckBox6=" + value + "\r\ncRS2=" + value + "\r\n");
    RecordingDesktop desktop;
    const TForm1 form(desktop, PathOf(settings));
    QCOMPARE(form.CurrentOptions().page.windy, ticked);
    QCOMPARE(form.CurrentOptions().page.startOpen, openTicked);
}

void MainWindowTest::settingsKeepForeignContent() {
    QTemporaryDir folder;
    const QString settings = folder.filePath("Oradel.ini");
    WriteFile(settings,
              "; kept\r\n[other]\r\nCheckBox6=1\r\n[SAVE_PARAMETR_ALL]\r\nExtra=keep\r\n"
              "crs2=1\r\ncheckbox6=0\r\n");
    Session session(settings);
    QVERIFY(session.Box("cRS2")->isChecked());
    QVERIFY(!session.Box("CheckBox6")->isChecked());
    QVERIFY(session.form->close());
    const QByteArray saved = ReadFile(session.settingsFile);
    QVERIFY(
        saved.startsWith("; kept\r\n[other]\r\nCheckBox6=1\r\n[SAVE_PARAMETR_ALL]\r\n"
                         "Extra=keep\r\ncrs2=1\r\ncheckbox6=0\r\n"));
    QVERIFY(saved.contains("\r\nEdit3=\r\n"));
}

void MainWindowTest::failedSaveIsShownAndWindowCloses() {
    Session session("missing/oradel.ini");
    QVERIFY(session.form->close());
    QCOMPARE(session.desktop.messages,
             QStringList{"Unable to write to " + session.File("missing/oradel.ini")});
    QVERIFY(!session.form->isVisible());
}

void MainWindowTest::settingsLocation() {
    QTemporaryDir program;
    const QString config = program.filePath("config");
    QCOMPARE(SettingsFilePath(program.filePath("oradel"), config),
             PathOf(program.filePath("oradel.ini")));
    QCOMPARE(SettingsFilePath(program.filePath("Oradel.exe"), config),
             PathOf(program.filePath("Oradel.ini")));
    // A folder that cannot take the file sends it to the configuration folder.
    QCOMPARE(SettingsFilePath(program.filePath("gone/oradel"), config),
             PathOf(config + "/oradel.ini"));
    QDir(program.path()).mkdir("locked");
    QFile::setPermissions(program.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(program.filePath("locked")).isWritable())
        QSKIP("permissions not enforced (root)");
    QCOMPARE(SettingsFilePath(program.filePath("locked/oradel"), config),
             PathOf(config + "/oradel.ini"));
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
    const OpenFileRequest request{"Выберите файл:", folder.path(), "txt",
                                  NameFiltersFromPairs("Текстовые файлы (*.txt)|*.txt"), ""};
    QTimer::singleShot(0, [&folder] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        dialog->selectFile(folder.filePath("new"));  // does not exist
        static_cast<QDialog*>(dialog)->accept();     // the dialog's own Open button
    });
    QCOMPARE(desktop.ChooseFileToOpen(nullptr, request), folder.filePath("new.txt"));
}

void MainWindowTest::screenshots() {
    Session session;
    session.Choose(session.File("alps.txt"));
    session.Click("SpeedButton6");
    const QString folder = QStringLiteral(ORADEL_SCREENSHOT_DIR);
    QVERIFY(session.form->grab().save(folder + "/oradel-window.png"));
    session.Click("SpeedButton5");
    QVERIFY(session.form->grab().save(folder + "/oradel-help.png"));
}

}  // namespace oradel

QTEST_MAIN(oradel::MainWindowTest)
#include "main_window_test.moc"
