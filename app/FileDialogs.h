#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// The file dialogs of both windows. They start in the folder the last one
// ended in, remembered across runs.
class FileDialogs {
    Q_DECLARE_TR_FUNCTIONS(FileDialogs)

public:
    static QString openPath(QWidget* parent, const QString& caption, const QString& filter);
    // `suffixes` pairs with the filter's entries (";;"-separated): the one of
    // the chosen entry is appended to a name typed without one.
    static QString savePath(QWidget* parent, const QString& caption, const QString& filter,
                            const QStringList& suffixes, const QString& fileName);

    // The two exports both windows offer.
    static QString picturePath(QWidget* parent, const QString& fileName);
    static QString dataPath(QWidget* parent, const QString& fileName);

    static QString lastFolder();
    static void rememberFolder(const QString& path);
};
