#include "ChiK.h"

#include "AWave.h"
#include "About.h"
#include "Actions.h"
#include "Axes.h"
#include "ChiDataReader.h"
#include "ChiR.h"
#include "CsvExport.h"
#include "Envelope.h"
#include "Escaped.h"
#include "FileDialogs.h"
#include "FitWindow.h"
#include "HeldCurves.h"
#include "Legend.h"
#include "MeasuredCurve.h"
#include "NotesWindow.h"
#include "PictureExport.h"
#include "PixelDrawing.h"
#include "ProgramState.h"
#include "Scenario.h"
#include "Session.h"
#include "ShellsWindow.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <utility>

using pixeldraw::measuredColour;
using pixeldraw::pixel;
using pixeldraw::pixelLine;
using pixeldraw::solidColor;
using pixeldraw::solidPen;

ChiK::ChiK(Session& session, QWidget* parent) : QMainWindow(parent) {
    setupUi(this);

    // The wave, its envelope and the chi(R) window belong to the session,
    // which outlives this window's parts.
    waves.append(session.makeWave());

    chiR = session.makeChiR();
    chiR->waves = &waves;
    for (AWave* w : std::as_const(waves))
        connect(w, SIGNAL(updated()), chiR->DispA, SLOT(update()));
    // Filled before the window is laid out, which the line's height joins.
    chiR->updateReadOut();
    chiR->show();

    for (int i = 0; i < waves.size(); ++i) {
        AWave* w = waves.at(i);
        w->envelope->mouse = &DispA->mouse;
        w->envelope->coord = &DispA->coord;
        w->ctrl->WindowCtrl->mouse = &DispA->mouse;
        w->ctrl->WindowCtrl->coord = &DispA->coord;
        WaveCtrlLayout->addWidget(w->ctrl, i, 0);
        connect(w, SIGNAL(updated()), DispA, SLOT(update()));
        connect(&DispA->mouse, SIGNAL(mMoved()), w, SLOT(mMoved()));
        connect(&DispA->mouse, SIGNAL(mPressed()), w, SLOT(mPressed()));
        connect(&DispA->mouse, SIGNAL(mReleased()), w, SLOT(mReleased()));
    }
    connect(DispA, SIGNAL(draw(QPainter*)), this, SLOT(draw(QPainter*)));

    actionOpenScenario->setShortcuts(QKeySequence::Open);
    actionSaveScenario->setShortcuts(QKeySequence::Save);
    actionQuit->setShortcuts(QKeySequence::Quit);
    // Desktops without a theme of their own (and the headless platform) bind
    // no quit key; Ctrl+Q is what users of the others know.
    if (actionQuit->shortcuts().isEmpty())
        actionQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Not Ctrl+C: that stays with the text boxes.
    actionCopyPicture->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(actionOpenScenario, SIGNAL(triggered()), this, SLOT(openScenario()));
    connect(actionSaveScenario, SIGNAL(triggered()), this, SLOT(saveScenario()));
    connect(actionExportPicture, SIGNAL(triggered()), this, SLOT(exportPicture()));
    connect(actionExportData, SIGNAL(triggered()), this, SLOT(exportData()));
    connect(actionCopyPicture, SIGNAL(triggered()), this, SLOT(copyPicture()));
    connect(actionQuit, SIGNAL(triggered()), this, SIGNAL(finishing()));
    connect(actionAbout, SIGNAL(triggered()), this, SLOT(about()));

    view = new ViewOptions(this);
    chiR->view = view;
    view->fitK = [this] { return fittedRange(); };
    view->fitR = [this] { return chiR->fittedRange(); };
    // One set of View entries in both windows' menus.
    actions = new Actions(this);
    actions->addTo(menuView, menuLanguage);
    actions->addTo(chiR->menuView, chiR->menuLanguage);
    connect(actions->axes, SIGNAL(toggled(bool)), view, SLOT(setAxes(bool)));
    connect(actions->legend, SIGNAL(toggled(bool)), view, SLOT(setLegend(bool)));
    connect(actions->physical, SIGNAL(toggled(bool)), view, SLOT(setPhysical(bool)));
    connect(actions->lockScales, SIGNAL(toggled(bool)), view, SLOT(setLockScales(bool)));
    connect(actions->arrange, SIGNAL(triggered()), this, SLOT(arrangeSideBySide()));
    connect(view, SIGNAL(changed()), this, SLOT(syncView()));
    connect(view, SIGNAL(changed()), chiR, SLOT(syncView()));

    measured = new MeasuredCurve(this);
    held = new HeldCurves(this);
    chiR->measured = measured;
    chiR->held = held;
    AWave* first = waves.first();
    measured->process(first);
    // After every change of the wave the data are processed again, before
    // either plot paints, and the read-out then shows both.
    connect(first, &AWave::updated, measured, [this, first] {
        measured->process(first);
        chiR->spectraChanged();
    });
    connect(measured, SIGNAL(changed()), chiR, SLOT(spectraChanged()));
    for (QObject* source : {static_cast<QObject*>(measured), static_cast<QObject*>(held)}) {
        connect(source, SIGNAL(changed()), DispA, SLOT(update()));
        connect(source, SIGNAL(changed()), chiR->DispA, SLOT(update()));
    }
    connect(actionOpenData, SIGNAL(triggered()), this, SLOT(openData()));
    connect(actionClearData, SIGNAL(triggered()), this, SLOT(clearData()));
    connect(actionHold, SIGNAL(triggered()), this, SLOT(holdCurves()));
    connect(actionClearHeld, SIGNAL(triggered()), this, SLOT(clearHeld()));

    connect(actionShells, SIGNAL(triggered()), this, SLOT(showShells()));
    connect(actionFit, SIGNAL(triggered()), this, SLOT(showFit()));
    connect(measured, &MeasuredCurve::changed, this,
            [this] { actionFit->setEnabled(measured->isLoaded()); });
    connect(actionNotes, SIGNAL(triggered()), this, SLOT(showNotes()));
    actionNotes->setEnabled(false);

    // View > Language in both windows: one choice for the whole program.
    connect(actions->japanese, &QAction::triggered, this,
            [this] { chooseLanguage(Startup::Language::Japanese); });
    connect(actions->english, &QAction::triggered, this,
            [this] { chooseLanguage(Startup::Language::English); });
    lessons = Lessons::list();
    retranslate();
}

void ChiK::chooseLanguage(Startup::Language language) {
    Startup::setLanguage(language);
    // The windows translate themselves on the posted LanguageChange; the
    // check mark follows at once.
    actions->retranslate();
    emit languageChosen(language);
}

void ChiK::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void ChiK::retranslate() {
    retranslateUi(this);
    actions->retranslate();
    fillLessonsMenu();
    // The axis titles and the key are painted in the new language.
    DispA->update();
}

void ChiK::fillLessonsMenu() {
    menuLessons->clear();
    const QString language = Startup::languageCode();
    for (const Lessons::Entry& lesson : std::as_const(lessons)) {
        QString text = lesson.title.in(language);
        // A title is not an access key.
        QAction* action =
            menuLessons->addAction(text.replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setProperty("fromFile", true);
        const QString path = lesson.path;
        connect(action, &QAction::triggered, this, [this, path] { openScenarioFile(path); });
    }
    if (lessons.isEmpty())
        menuLessons->addAction(tr("No lessons found"))->setEnabled(false);
}

void ChiK::showNotes() {
    if (!notesWindow) {
        notesWindow = new NotesWindow(this);
        // Right of both plots where the screen has room, else at its right
        // edge, so that the plots stay in sight.
        const QRect screenArea = screen() ? screen()->availableGeometry() : QRect();
        const int right = std::max(frameGeometry().right(), chiR->frameGeometry().right()) + 1;
        const int x = right + notesWindow->width() <= screenArea.right() + 1
                          ? right
                          : screenArea.right() + 1 - notesWindow->width();
        notesWindow->move(std::max(x, screenArea.left()), frameGeometry().top());
    }
    notesWindow->setNotes(title, notes);
    notesWindow->show();
    notesWindow->raise();
}

Scenario ChiK::currentState() const {
    Scenario state = ProgramState::capture(*waves.first(), *chiR);
    state.title = title;
    state.notes = notes;
    return state;
}

void ChiK::placeBeside(const QRect& available) {
    // Moving a window places its frame, where the window system draws one.
    const int width = frameGeometry().width();
    if (width + chiR->frameGeometry().width() > available.width())
        return;
    move(available.topLeft());
    chiR->move(available.left() + width, available.top());
}

void ChiK::showShells() {
    // Made on first use: the wave holds the shells, the window only shows
    // them, and nothing of it is built for a run that never opens it.
    if (!shellsWindow)
        shellsWindow = new ShellsWindow(waves.first(), this);
    // The form's first size has room for no row: the window opens at least
    // as large as its rows need.
    if (!shellsWindow->isVisible())
        shellsWindow->resize(shellsWindow->size().expandedTo(shellsWindow->sizeHint()));
    shellsWindow->show();
    shellsWindow->raise();
    shellsWindow->activateWindow();
}

void ChiK::showFit() {
    if (!fitWindow)
        fitWindow = new FitWindow(waves.first(), measured, chiR, this);
    fitWindow->show();
    fitWindow->raise();
    fitWindow->activateWindow();
}

void ChiK::syncView() {
    view->showIn(actions->axes, actions->legend, actions->physical, actions->lockScales);
    // A change of amplitude mode resynthesises and repaints both plots.
    for (AWave* w : std::as_const(waves))
        w->setPhysical(view->physical);
    DispA->update();
}

void ChiK::arrange(QWidget* left, QWidget* right, const QRect& available) {
    const int half = available.width() / 2;
    const QRect areas[] = {QRect(available.left(), available.top(), half, available.height()),
                           QRect(available.left() + half, available.top(), available.width() - half,
                                 available.height())};
    QWidget* windows[] = {left, right};
    for (int i = 0; i < 2; ++i) {
        QWidget* w = windows[i];
        // The window system's frame comes around the geometry we set.
        const QSize frame = w->frameGeometry().size() - w->geometry().size();
        w->resize(areas[i].size() - frame);
        w->move(areas[i].topLeft());
    }
}

void ChiK::arrangeSideBySide() {
    if (const QScreen* s = screen())
        arrange(this, chiR, s->availableGeometry());
}

ViewOptions::Range ChiK::fittedRange() const {
    double top = -1e300;
    if (!waves.isEmpty() && waves.first()->physical) {
        // Physical amplitudes: the curves that are drawn, and only those.
        auto cover = [&top](const QVector<double>& values) {
            for (double v : values)
                top = std::max(top, 1.1 * std::abs(v));
        };
        for (const AWave* w : waves) {
            cover(w->chi);
            cover(w->windowValues);
            cover(w->envelopeValues);
        }
        if (measured && measured->values.size() == waves.first()->chi.size())
            cover(measured->values);
        for (const HeldCurves::Curve& c : held ? held->curves : QVector<HeldCurves::Curve>())
            if (c.physical) {
                cover(c.chi);
                cover(c.dataChi);
            }
    } else {
        for (const AWave* w : waves)
            top = std::max(top, 1.1 * w->valueScale);
    }
    if (!(top > 0) || !std::isfinite(top))
        top = 1.1;
    return {-top, top};
}

QString ChiK::valueTitle() const {
    if (waves.isEmpty())
        return QString();
    const AWave& w = *waves.first();
    const QString power = Axes::superscript(w.n);
    return w.physical ? tr("k%1·χ(k) (Å%2)").arg(power, Axes::superscript(-w.n))
                      : tr("k%1·χ(k), normalised").arg(power);
}

ChiK::~ChiK() = default;

void ChiK::showError(const QString& message) {
    QMessageBox::warning(this, windowTitle(), Escaped::message(message));
}

bool ChiK::applyScenario(const Scenario& state, QString* error) {
    // The data file is read again, as it is now, before anything changes.
    QVector<double> k, chi;
    if (!state.dataFile.isEmpty() && !ChiDataReader::readFile(state.dataFile, &k, &chi, error))
        return false;
    applyScenario(state, k, chi);
    return true;
}

void ChiK::applyScenario(const Scenario& state, const QVector<double>& k,
                         const QVector<double>& chi) {
    ProgramState::apply(state, *waves.first(), *chiR);
    if (!state.dataFile.isEmpty() || measured->isLoaded())
        measured->setData(k, chi, state.dataFile);
    title = state.title;
    notes = state.notes;
    if (notesWindow) {
        notesWindow->setNotes(title, notes);
        if (notes.isEmpty() && title.isEmpty())
            notesWindow->hide();
    }
    actionNotes->setEnabled(!notes.isEmpty());
}

bool ChiK::openScenarioFile(const QString& path) {
    Scenario state;
    QString error;
    if (!Scenario::readFile(path, ProgramState::capture(*waves.first(), *chiR), &state, &error) ||
        !applyScenario(state, &error)) {
        showError(error);
        return false;
    }
    if (!notes.isEmpty())
        showNotes();
    return true;
}

bool ChiK::openDataFile(const QString& path) {
    QVector<double> k, chi;
    QString error;
    if (!ChiDataReader::readFile(path, &k, &chi, &error)) {
        showError(error);
        return false;
    }
    measured->setData(k, chi, QFileInfo(path).absoluteFilePath());
    return true;
}

void ChiK::openData() {
    const QString path = FileDialogs::openPath(
        this, tr("Open measured chi(k)"),
        tr("chi(k) data (*.chi *.chik *.dat *.txt *.csv *.xy);;All files (*)"));
    if (!path.isEmpty())
        openDataFile(path);
}

void ChiK::clearData() {
    measured->clear();
}

void ChiK::holdCurves() {
    held->hold(*waves.first(), ProgramState::capture(*waves.first(), *chiR), measured);
}

void ChiK::clearHeld() {
    held->clear();
}

bool ChiK::saveScenarioFile(const QString& path) {
    QString error;
    if (!currentState().writeFile(path, &error)) {
        showError(error);
        return false;
    }
    return true;
}

bool ChiK::exportPictureFile(const QString& path) {
    QString error;
    if (!PictureExport::save(DispA, path, windowTitle(), &error)) {
        showError(error);
        return false;
    }
    return true;
}

bool ChiK::exportDataFile(const QString& path) {
    const AWave& wave = *waves.first();
    QString error;
    if (!CsvExport::write(path, CsvExport::chiK(wave, ProgramState::capture(wave, *chiR), measured),
                          &error)) {
        showError(error);
        return false;
    }
    return true;
}

void ChiK::openScenario() {
    const QString path =
        FileDialogs::openPath(this, tr("Open scenario"), tr("Tovik scenarios (*.tovik.json)"));
    if (!path.isEmpty())
        openScenarioFile(path);
}

void ChiK::saveScenario() {
    const QString path = FileDialogs::savePath(
        this, tr("Save scenario as"), tr("Tovik scenarios (*.tovik.json)"),
        {QStringLiteral("tovik.json")}, QStringLiteral("scenario.tovik.json"));
    if (!path.isEmpty())
        saveScenarioFile(path);
}

void ChiK::exportPicture() {
    const QString path = FileDialogs::picturePath(this, QStringLiteral("chik.png"));
    if (!path.isEmpty())
        exportPictureFile(path);
}

void ChiK::exportData() {
    const QString path = FileDialogs::dataPath(this, QStringLiteral("chik.csv"));
    if (!path.isEmpty())
        exportDataFile(path);
}

void ChiK::copyPicture() {
    PictureExport::copyToClipboard(DispA);
}

void ChiK::about() {
    About::show(this);
}

void ChiK::draw(QPainter* p) {
    // A chi(R) window closed by the user comes back with any repaint of
    // this plot.
    show();
    chiR->show();

    const QRect geometry = DispA->geometry();
    const int width = geometry.width();
    const int height = geometry.height();
    p->fillRect(QRect(QPoint(0, 0), QPoint(width - 1, height - 1)), QColor(255, 255, 255, 255));
    if (waves.isEmpty())
        return;

    double xMin = 1e300;
    double xMax = -1e300;
    for (const AWave* w : std::as_const(waves)) {
        if (w->kMin < xMin)
            xMin = w->kMin;
        if (w->kMax > xMax)
            xMax = w->kMax;
    }
    const bool axes = view && view->axes;
    const ViewOptions::Range range = view && view->lockScales ? view->lockedK : fittedRange();
    const QFont axesFont = DispA->font();
    const QRect plot = axes ? Axes::inset(p, DispA->coord, axesFont) : QRect(0, 0, width, height);
    DispA->coord.setScale(xMin, range.first, xMax, range.second);
    auto X = [this](double v) { return DispA->coord.toPixelX(v); };
    auto Y = [this](double v) { return DispA->coord.toPixelY(v); };

    const QFont font;
    const int labelHeight = std::max(height / 40, 10);
    QVector<QLine> segments;

    // Held curves lie behind everything live, pale: the model's thin, the
    // data's as wide as the live data. Only those held in this amplitude mode.
    const bool physical = waves.first()->physical;
    for (int h = 0; h < held->curves.size(); ++h) {
        const HeldCurves::Curve& c = held->curves[h];
        if (c.physical != physical)
            continue;
        const int age = held->curves.size() - 1 - h;
        auto heldCurve = [&](const QVector<double>& values, const QColor& colour, int width) {
            QPen pen(HeldCurves::shadeOf(colour, age));
            pen.setWidth(width);
            p->setPen(pen);
            segments.clear();
            for (int i = 1; i < c.k.size() && i < values.size(); ++i)
                segments << pixelLine(X(c.k[i - 1]), Y(values[i - 1]), X(c.k[i]), Y(values[i]));
            p->drawLines(segments.constData(), segments.size());
        };
        if (c.hasData())
            heldCurve(c.dataChi, measuredColour(), 2);
        heldCurve(c.chi, Qt::black, 1);
    }

    for (const AWave* w : std::as_const(waves)) {
        const int count = w->chi.size();
        auto curve = [&](const QVector<double>& values, double sign) {
            segments.clear();
            for (int i = 1; i < count; ++i) {
                const QLine line = pixelLine(X(w->kValues[i - 1]), Y(sign * values[i - 1]),
                                             X(w->kValues[i]), Y(sign * values[i]));
                // The grid runs on far past kMax; segments wholly beside the
                // surface would only be clipped, so they are not stroked.
                if (std::min(line.x1(), line.x2()) > width + 2 ||
                    std::max(line.x1(), line.x2()) < -2)
                    continue;
                segments << line;
            }
            p->drawLines(segments.constData(), segments.size());
        };

        p->setPen(solidPen(0, 150, 255, 1));
        curve(w->windowValues, 1);
        // The envelope is drawn mirrored about zero, as the hull of chi.
        p->setPen(solidPen(255, 180, 0, 1));
        curve(w->envelopeValues, 1);
        curve(w->envelopeValues, -1);
        if (w == waves.first() && measured->values.size() == count) {
            QPen pen(measuredColour());
            pen.setWidth(2);
            p->setPen(pen);
            curve(measured->values, 1);
        }
        p->setPen(solidPen(0, 0, 0, 2));
        curve(w->chi, 1);

        const QVector<double>& positions = w->ctrl->WindowCtrl->positions;
        p->setPen(solidPen(0, 150, 255, 2));
        segments.clear();
        for (double pos : positions)
            segments << pixelLine(X(pos), 0, X(pos), height);
        p->drawLines(segments.constData(), segments.size());
        for (double pos : positions) {
            const int left = pixel(X(pos) - 3);
            const int topEdge = pixel(Y(0) - 3);
            p->fillRect(QRect(QPoint(left, topEdge), QPoint(left + 6, topEdge + 6)),
                        solidColor(0, 150, 255));
        }

        if (w->envelope) {
            const QVector<QPointF>& points = w->envelope->points;
            p->setPen(solidPen(0, 255, 150, 1));
            segments.clear();
            for (const QPointF& pt : points)
                segments << pixelLine(X(pt.x()), 0, X(pt.x()), height);
            p->drawLines(segments.constData(), segments.size());
            for (const QPointF& pt : points) {
                const int left = pixel(X(pt.x()) - 2);
                const int topEdge = pixel(Y(pt.y()) - 2);
                p->fillRect(QRect(QPoint(left, topEdge), QPoint(left + 4, topEdge + 4)),
                            solidColor(0, 255, 150));
            }
            p->setPen(solidPen(200, 200, 200, 1));
            for (const QPointF& pt : points)
                DispA->textDrawer.drawFitted(
                    p, QRectF(X(pt.x()) + 3, Y(0) + 3, X(pt.x() + 0.5), labelHeight), QFont(font),
                    Qt::AlignLeft | Qt::AlignTop, 1, QString::number(pt.x(), 'g', 3), 10);
        }

        p->setPen(solidPen(200, 200, 200, 1));
        const QLine zero = pixelLine(0, Y(0), width, Y(0));
        p->drawLines(&zero, 1);
    }

    p->setClipping(false);
    const AWave& first = *waves.first();
    const QString power = Axes::superscript(first.n);
    if (axes)
        Axes::draw(p, DispA->coord, axesFont, tr("k (Å⁻¹)"), valueTitle());
    // The key names the data and the held curves whenever they are shown,
    // and every curve with the Legend option. The live curve is k^n W chi
    // when the window is one of its factors.
    QVector<Legend::Entry> entries;
    if (view && view->legend)
        entries = {{solidColor(0, 0, 0), 2,
                    first.ctrl->SelWindowF->isChecked() ? tr("k%1·W·χ(k)").arg(power)
                                                        : tr("k%1·χ(k)").arg(power)},
                   {solidColor(0, 150, 255), 1, tr("W(k)")},
                   {solidColor(255, 180, 0), 1, tr("±F(k)")}};
    if (measured->isLoaded())
        entries.append({measuredColour(), 2, Escaped::text(QFileInfo(measured->path).fileName())});
    if (!held->curves.isEmpty())
        entries += held->entries(ProgramState::capture(first, *chiR), physical);
    Legend::draw(p, entries, plot, axesFont);
}
