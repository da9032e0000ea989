#include "ui/settings_location.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "engine/conversion_job.hpp"
#include "engine/files.hpp"

namespace oradel {
namespace {

// Whether a file can be created in `folder`, found by creating one. Asking for
// the folder's permissions is not enough: on Windows Qt does not look at the
// access rights by default and calls every folder writable, Program Files too.
bool FolderTakesFiles(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("oradel-XXXXXX.tmp")));
    return probe.open();
}

}  // namespace

std::filesystem::path SettingsFilePath(const QString& programFile, const QString& configFolder) {
    const QFileInfo program(programFile);
    const QString besideProgram = QString::fromStdString(ReplaceExtension(
        QDir::toNativeSeparators(program.absoluteFilePath()).toStdString(), ".ini"));
    if (FolderTakesFiles(program.absolutePath())) {
        return PathFromText(besideProgram.toStdString());
    }
    const QString fileName = QFileInfo(besideProgram).fileName();
    return PathFromText(QDir(configFolder).filePath(fileName).toStdString());
}

std::filesystem::path SettingsFileOfThisProgram() {
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const std::filesystem::path file =
        SettingsFilePath(QCoreApplication::applicationFilePath(), configFolder);
    // The program's folder is there already; the configuration folder may not be yet.
    QDir().mkpath(QString::fromStdString(PathText(file.parent_path())));
    return file;
}

}  // namespace oradel
