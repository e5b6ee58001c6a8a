#include "NotesWindow.h"

#include "Startup.h"

#include <QEvent>

NotesWindow::NotesWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setupUi(this);
    // The lesson's own words, not the catalogue's.
    LessonTitle->setProperty("fromFile", true);
    NotesText->setProperty("fromFile", true);
}

void NotesWindow::setNotes(const LocalText& title_, const LocalText& notes_) {
    title = title_;
    notes = notes_;
    retranslate();
}

void NotesWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void NotesWindow::retranslate() {
    retranslateUi(this);
    const QString language = Startup::languageCode();
    LessonTitle->setText(title.in(language));
    LessonTitle->setVisible(!title.isEmpty());
    // Plain text: blank lines part the paragraphs as written.
    NotesText->setPlainText(notes.in(language));
}
