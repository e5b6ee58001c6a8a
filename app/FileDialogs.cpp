#include "FileDialogs.h"

#include "Settings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

QString FileDialogs::lastFolder() {
    const QString folder = Settings().lastFolder();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

void FileDialogs::rememberFolder(const QString& path) {
    Settings().setLastFolder(QFileInfo(path).absolutePath());
}

QString FileDialogs::openPath(QWidget* parent, const QString& caption, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, caption, lastFolder(), filter);
    if (!path.isEmpty())
        rememberFolder(path);
    return path;
}

QString FileDialogs::savePath(QWidget* parent, const QString& caption, const QString& filter,
                              const QStringList& suffixes, const QString& fileName) {
    QFileDialog dialog(parent, caption, lastFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(fileName);
    const QStringList filters = filter.split(QStringLiteral(";;"));
    auto suffixFor = [&](const QString& chosen) { return suffixes.value(filters.indexOf(chosen)); };
    dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& chosen) { dialog.setDefaultSuffix(suffixFor(chosen)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = dialog.selectedFiles().first();
    rememberFolder(path);
    return path;
}

QString FileDialogs::picturePath(QWidget* parent, const QString& fileName) {
    return savePath(parent, tr("Export picture"),
                    tr("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"),
                    {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")},
                    fileName);
}

QString FileDialogs::dataPath(QWidget* parent, const QString& fileName) {
    return savePath(parent, tr("Export data"), tr("CSV files (*.csv)"), {QStringLiteral("csv")},
                    fileName);
}
