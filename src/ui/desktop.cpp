#include "ui/desktop.hpp"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace oradel {

QString ApplicationTitle() {
    return QStringLiteral("Oradel");
}

void QtDesktop::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
    // Paths and error texts are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
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

QStringList NameFiltersFromPairs(const QString& pairs) {
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype index = 0; index + 1 < parts.size(); index += 2) {
        const QString& description = parts.at(index);
        // Qt reads the patterns, separated by blanks, from the parentheses of the description.
        const QString pattern = QString(parts.at(index + 1)).replace(u';', u' ');
        const bool patternShown = description.contains(u'(' + pattern + u')');
        filters << (patternShown ? description
                                 : description + QStringLiteral(" (") + pattern + u')');
    }
    return filters;
}

void ConfigureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request) {
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(request.folder);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setNameFilters(request.nameFilters);
    dialog.selectNameFilter(request.selectedFilter);
}

}  // namespace oradel
