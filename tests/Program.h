#pragma once

#include "AWave.h"
#include "Actions.h"
#include "ChiK.h"
#include "ChiR.h"
#include "CommandLine.h"
#include "Envelope.h"
#include "FileCommands.h"
#include "Session.h"
#include "Startup.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>
#include <QTranslator>

#include <cmath>
#include <memory>

// The program as its entry function builds it: language from the arguments,
// catalogue installed, the session built (its main window shows the chi(R)
// window) and the main window shown.
struct Program {
    explicit Program(const QStringList& arguments = {QStringLiteral("tovik"), QStringLiteral("-e")})
        : session((
              Startup::setLanguage(Startup::chosenLanguage(CommandLine::parse(arguments).language)),
              std::make_unique<Session>())),
          main(session->main()) {
        main->show();
    }

    ~Program() {
        session.reset();
        Startup::setLanguage(Startup::Language::English);
    }

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    AWave* wave() const { return main->waves.first(); }
    // Writes a shell-like chi(k), size sin(4.6 k) / k on a grid of its own,
    // to `path` and opens it as measured data.
    bool openData(const QString& path, double size) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        for (double k = 1; k < 14.5; k += 0.045)
            f.write(QByteArray::number(k, 'g', 17) + ' ' +
                    QByteArray::number(size * std::sin(4.6 * k) / k, 'g', 17) + '\n');
        f.close();
        return main->files->openDataFile(path);
    }
    ChiR* chiR() const { return main->chiR; }

    // First, so that the language is set before the session is built.
    std::unique_ptr<Session> session;
    ChiK* main = nullptr;
};

// Offscreen, QTest's cursor moves carry no event: mouse input is sent to the
// widget directly, with the buttons a real device would report as held.
inline void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}
inline void press(QWidget* w, QPoint pos) {
    sendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}
inline void dragTo(QWidget* w, QPoint pos) {
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}
inline void release(QWidget* w, QPoint pos) {
    sendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

// A value typed the way a user types it: the keys go to the box itself,
// Ctrl+A selects what it shows, then the text and Return.
inline void typeInto(QLineEdit* box, const QString& text) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}
