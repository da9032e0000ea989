#include "ui/desktop.hpp"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/files.hpp"
#include "engine/messages.hpp"
#include "form/controls.hpp"
#include "form/form.hpp"

namespace oradel {

QString ApplicationTitle() {
    return QString::fromUtf8(kWindowTitle.data(), static_cast<qsizetype>(kWindowTitle.size()));
}

void QtDesktop::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
    // Paths and error texts are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDesktop::AskYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, ApplicationTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDesktop::ChooseFileToOpen(QWidget* parent,
                                                   const OpenFileRequest& request) {
    QFileDialog dialog(parent);
    ConfigureOpenDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.front();
}

void QtDesktop::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

// A list of the findings with their line, severity and text; a double-click
// or Enter on one opens the list at its line.
void QtDesktop::ShowDiagnostics(QWidget* parent, const DiagnosticsRequest& request) {
    QDialog dialog(parent);
    dialog.setWindowTitle(ApplicationTitle() + QStringLiteral(": ") +
                          QString::fromStdString(request.title));
    auto* list = new QTreeWidget(&dialog);
    list->setObjectName(QStringLiteral("diagnosticsList"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QString::fromStdString(request.lineHeading),
                           QString::fromStdString(request.severityHeading),
                           QString::fromStdString(request.textHeading)});
    for (const DiagnosticRow& row : request.rows) {
        auto* item = new QTreeWidgetItem(
            list, {QString::number(row.line), QString::fromStdString(row.severity),
                   QString::fromStdString(row.text)});
        item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(row.line));
    }
    for (int column = 0; column < 2; ++column) list->resizeColumnToContents(column);
    QObject::connect(list, &QTreeWidget::itemActivated, &dialog, [&request](QTreeWidgetItem* item) {
        request.openAtLine(item->data(0, Qt::UserRole).toULongLong());
    });
    auto* close = new QPushButton(
        QString::fromStdString(Message(MessageId::CheckClose).Text(kWindowLanguage)), &dialog);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(close, 0, Qt::AlignRight);
    dialog.resize(760, 420);
    dialog.exec();
}

namespace {

// Qt's patterns for one pattern entry of a filter list ("*.txt;*.wpt"):
// separated by blanks, and the Windows "*.*" of every file written "*", since
// Qt matches "*.*" only against names that have a dot.
QString QtPatterns(const QString& entry) {
    QStringList patterns = entry.split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
        if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
    }
    return patterns.join(u' ');
}

}  // namespace

QStringList NameFilters(const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& filter : filters) {
        // Qt reads the patterns from the parentheses that end the description:
        // those the description shows are replaced, otherwise they are added.
        QString description = QString::fromStdString(filter.description);
        const QString pattern = QString::fromStdString(filter.pattern);
        const QString shown = u'(' + QString(pattern).replace(u';', u' ') + u')';
        if (description.endsWith(shown)) {
            description.chop(shown.size());
        } else {
            description += u' ';
        }
        names << description + u'(' + QtPatterns(pattern) + u')';
    }
    return names;
}

void ConfigureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request) {
    const QStringList filters = NameFilters(request.filters);
    dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QString::fromStdString(PathText(request.folder)));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
}

}  // namespace oradel
