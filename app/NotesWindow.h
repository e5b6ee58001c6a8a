#pragma once

#include "Scenario.h"
#include "ui_NotesWindow.h"

#include <QWidget>

// The tool window "Notes": a lesson's title and notes in the interface's
// language, beside the plots while the student works through them.
class NotesWindow : public QWidget, public Ui_NotesWindow {
    Q_OBJECT
public:
    explicit NotesWindow(QWidget* parent = nullptr);

    void setNotes(const LocalText& title, const LocalText& notes);

    LocalText title;
    LocalText notes;

protected:
    void changeEvent(QEvent* event) override;

private:
    // The form's texts and the lesson's, in the current language.
    void retranslate();
};
