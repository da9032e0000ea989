#include "ui/settings_location.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "engine/conversion_job.hpp"
#include "engine/files.hpp"

namespace oradel {

std::filesystem::path SettingsFilePath(const QString& programFile, const QString& configFolder) {
    const QFileInfo program(programFile);
    const QString besideProgram = QString::fromStdString(ReplaceExtension(
        QDir::toNativeSeparators(program.absoluteFilePath()).toStdString(), ".ini"));
    const QFileInfo programFolder(program.absolutePath());
    if (programFolder.isDir() && programFolder.isWritable()) {
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
