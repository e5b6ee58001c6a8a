#include "ChiK.h"

#include "AWave.h"
#include "About.h"
#include "AbsorptionWindow.h"
#include "Actions.h"
#include "Axes.h"
#include "ChiKPlot.h"
#include "ChiR.h"
#include "Envelope.h"
#include "Escaped.h"
#include "FileCommands.h"
#include "FilteredCurves.h"
#include "FitProblem.h"
#include "FitWindow.h"
#include "HeldCurves.h"
#include "Legend.h"
#include "MeasuredCurve.h"
#include "NotesWindow.h"
#include "Palette.h"
#include "PixelDrawing.h"
#include "ProgramParts.h"
#include "ProgramState.h"
#include "RatioWindow.h"
#include "Scenario.h"
#include "SeriesCurves.h"
#include "ShellsWindow.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

using pixeldraw::solidPen;

ChiK::ChiK(ProgramParts& session, QWidget* parent) : QMainWindow(parent) {
    setupUi(this);

    // The wave, its envelope and the chi(R) window belong to the session,
    // which outlives this window's parts.
    waves.append(session.makeWave());

    chiR = session.makeChiR();
    chiR->waves = &waves;
    for (AWave* w : std::as_const(waves))
        connect(w, SIGNAL(updated()), chiR->DispA, SLOT(update()));
    // A chi(R) window closed by the user comes back with the next change.
    for (AWave* w : std::as_const(waves))
        connect(w, SIGNAL(updated()), chiR, SLOT(show()));
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

    actionQuit->setShortcuts(QKeySequence::Quit);
    // Desktops without a theme of their own (and the headless platform) bind
    // no quit key; Ctrl+Q is what users of the others know.
    if (actionQuit->shortcuts().isEmpty())
        actionQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
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
    connect(actions->filtered, SIGNAL(toggled(bool)), view, SLOT(setFiltered(bool)));
    connect(actions->arrange, SIGNAL(triggered()), this, SLOT(arrangeSideBySide()));
    connect(view, SIGNAL(changed()), this, SLOT(syncView()));
    connect(view, SIGNAL(changed()), chiR, SLOT(syncView()));

    measured = new MeasuredCurve(this);
    held = new HeldCurves(this);
    series = new SeriesCurves(this);
    chiR->measured = measured;
    chiR->held = held;
    chiR->series = series;
    AWave* first = waves.first();
    measured->process(first);
    series->process(first);
    // After every change of the wave the data are processed again, before
    // either plot paints, and the read-out then shows both.
    connect(first, &AWave::updated, measured, [this, first] {
        measured->process(first);
        series->process(first);
        chiR->spectraChanged();
    });
    connect(measured, SIGNAL(changed()), chiR, SLOT(spectraChanged()));
    for (QObject* source : {static_cast<QObject*>(measured), static_cast<QObject*>(held),
                            static_cast<QObject*>(series)}) {
        connect(source, SIGNAL(changed()), DispA, SLOT(update()));
        connect(source, SIGNAL(changed()), chiR->DispA, SLOT(update()));
    }
    absorption = new AbsorptionState(this);
    // The chi(k) of the mu(E) is the measured data, as a file's would be.
    connect(absorption, &AbsorptionState::changed, measured, [this] {
        if (!absorption->isLoaded()) {
            measured->clear();
            return;
        }
        const AbsorptionState::Loaded& mu = absorption->current();
        measured->setData(mu.result.k, mu.result.chi, mu.path);
    });
    // A mu(E) data set is processed as the loaded mu(E) is.
    connect(absorption, &AbsorptionState::changed, this, [this] {
        if (fitWindow)
            fitWindow->setAbsorptionSettings(absorptionSettings());
    });
    menuFile->insertAction(actionClearData, actions->openMu);
    connect(actions->muWindow, &QAction::triggered, this, &ChiK::showAbsorption);
    files = new FileCommands(*this);
    filteredCurves = std::make_unique<FilteredCurves>();
    // A moved R window changes chi(q), drawn while filtering.
    connect(chiR, &ChiR::rWindowChanged, this, [this] {
        if (view->filtered)
            DispA->update();
    });
    connect(actionHold, SIGNAL(triggered()), this, SLOT(holdCurves()));
    connect(actionClearHeld, SIGNAL(triggered()), this, SLOT(clearHeld()));

    // View > Ratio… after Fit…; it follows every change of what it compares.
    actionRatio = new QAction(this);
    actionRatio->setObjectName(QStringLiteral("actionRatio"));
    const QList<QAction*> items = menuView->actions();
    menuView->insertAction(items.value(items.indexOf(actionFit) + 1), actionRatio);
    connect(actionRatio, &QAction::triggered, this, &ChiK::showRatio);
    auto follow = [this] {
        if (ratioWindow && ratioWindow->isVisible())
            ratioWindow->recompute();
    };
    connect(waves.first(), &AWave::updated, this, follow);
    connect(measured, &MeasuredCurve::changed, this, follow);
    connect(series, &SeriesCurves::changed, this, follow);
    connect(held, &HeldCurves::changed, this, follow);
    connect(chiR, &ChiR::rWindowChanged, this, follow);
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
    actionRatio->setText(tr("&Ratio…"));
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
        connect(action, &QAction::triggered, files,
                [this, path] { files->openScenarioFile(path); });
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

void ChiK::showAbsorption() {
    if (!absorptionWindow) {
        absorptionWindow = new AbsorptionWindow(*absorption, view, this);
        absorptionWindow->setWindowFlag(Qt::Window);
        actions->addTo(absorptionWindow->menuView, absorptionWindow->menuLanguage);
        absorptionWindow->menuFile->insertAction(absorptionWindow->actionOpenMu, actions->openMu);
        absorptionWindow->menuFile->removeAction(absorptionWindow->actionOpenMu);
        connect(view, &ViewOptions::changed, absorptionWindow->DispA,
                QOverload<>::of(&QWidget::update));
        files->wire(*absorptionWindow);
    }
    absorptionWindow->show();
    absorptionWindow->raise();
    absorptionWindow->activateWindow();
}

Scenario ChiK::currentState() const {
    Scenario state = ProgramState::capture(*waves.first(), *chiR);
    if (absorption->isLoaded()) {
        const AbsorptionState::Loaded& mu = absorption->current();
        state.dataFile.clear();
        state.muFile = mu.path;
        state.muColumns = mu.columns;
        state.absorption = mu.settings;
    }
    state.title = title;
    state.notes = notes;
    if (fitWindow) {
        state.hasFit = true;
        fitWindow->choices(&state.fitVary, &state.fitRMin, &state.fitRMax);
        fitWindow->series(&state);
    } else if (hasFitChoices) {
        state.hasFit = true;
        state.fitVary = fitVary;
        state.fitRMin = fitRMin;
        state.fitRMax = fitRMax;
        state.takeSeries(fitSeries);
        // The data loaded now is the first data set: a save names it there
        // too (or leaves it out, when none is loaded).
        if (!state.fitDataSets.isEmpty()) {
            if (state.dataFile.isEmpty() && state.muFile.isEmpty()) {
                state.fitDataSets.removeFirst();
            } else {
                Scenario::DataSetEntry& first = state.fitDataSets.first();
                first.dataFile = state.dataFile;
                first.muFile = state.muFile;
                first.muColumns = state.muColumns;
                first.absorption = state.absorption;
            }
        }
    }
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
    if (!fitWindow) {
        fitWindow = new FitWindow(waves.first(), measured, chiR, series, this);
        fitWindow->setAbsorptionSettings(absorptionSettings());
        if (hasFitChoices) {
            fitWindow->setChoices(fitVary, fitRMin, fitRMax);
            setFitSeries();
        }
    }
    fitWindow->show();
    fitWindow->raise();
    fitWindow->activateWindow();
}

void ChiK::showRatio() {
    if (!ratioWindow)
        ratioWindow = new RatioWindow(waves.first(), measured, held, series, chiR, this);
    ratioWindow->recompute();
    ratioWindow->show();
    ratioWindow->raise();
    ratioWindow->activateWindow();
}

void ChiK::syncView() {
    view->showIn(actions->axes, actions->legend, actions->physical, actions->lockScales);
    {
        const QSignalBlocker quiet(actions->filtered);
        actions->filtered->setChecked(view->filtered);
    }
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
        if (series)
            for (const QVector<double>& values : series->values())
                cover(values);
    } else {
        for (const AWave* w : waves)
            top = std::max(top, 1.1 * w->valueScale);
        // Data on the model's scale may pass its ±1: they stay in view.
        auto cover = [&top](const QVector<double>& values) {
            for (double v : values)
                top = std::max(top, 1.1 * std::abs(v));
        };
        if (measured && !waves.isEmpty() && measured->values.size() == waves.first()->chi.size())
            cover(measured->values);
        for (const HeldCurves::Curve& c : held ? held->curves : QVector<HeldCurves::Curve>())
            if (!c.physical)
                cover(c.dataChi);
        if (series)
            for (const QVector<double>& values : series->values())
                cover(values);
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

void ChiK::applyScenario(const Scenario& state, const QVector<double>& k,
                         const QVector<double>& chi, const ProgramState::Paths& paths,
                         const AbsorptionState::Loaded* mu) {
    ProgramState::apply(state, *waves.first(), *chiR, paths);
    absorption->clear();
    hasFitChoices = state.hasFit;
    // Without a "fit" part the standard set of the model it describes.
    fitVary =
        state.hasFit ? state.fitVary : fit::FitProblem::defaultVaried(bool(waves.first()->path));
    fitRMin = state.fitRMin;
    fitRMax = state.fitRMax;
    if (fitWindow)
        fitWindow->setChoices(fitVary, fitRMin, fitRMax);
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
    if (mu)
        absorption->set(*mu);
    // The data sets after the loaded data, which is the first of them.
    fitSeries = state;
    if (fitWindow)
        setFitSeries();
}

void ChiK::setFitSeries() {
    QString error;
    fitWindow->setSeries(fitSeries, &error);
    if (!error.isEmpty())
        QMessageBox::warning(this, tr("Data sets"),
                             tr("Some data sets of the fit could not be read:\n%1").arg(error));
}

AbsorptionSettings ChiK::absorptionSettings() const {
    return absorption->isLoaded() ? absorption->current().settings : AbsorptionSettings();
}

void ChiK::holdCurves() {
    held->hold(*waves.first(), ProgramState::capture(*waves.first(), *chiR), measured);
}

void ChiK::clearHeld() {
    held->clear();
}

void ChiK::about() {
    About::show(this);
}

void ChiK::draw(QPainter* p) {
    ChiKPlot::Inputs in;
    in.size = DispA->geometry().size();
    in.axes = view && view->axes;
    in.axesFont = DispA->font();
    in.text = &DispA->textDrawer;
    if (waves.isEmpty()) {
        ChiKPlot::paint(*p, DispA->coord, in);
        return;
    }

    double xMin = 1e300;
    double xMax = -1e300;
    for (const AWave* w : std::as_const(waves)) {
        if (w->kMin < xMin)
            xMin = w->kMin;
        if (w->kMax > xMax)
            xMax = w->kMax;
    }
    const ViewOptions::Range range = view && view->lockScales ? view->lockedK : fittedRange();
    // The frame is set here, before the renderer paints, and only read by
    // it; the mouse code later maps through what this paint used.
    in.plot = Axes::setFrame(DispA->coord, in.size, in.axesFont, in.axes);
    DispA->coord.setScale(xMin, range.first, xMax, range.second);

    const bool physical = waves.first()->physical;
    in.held = held->traces(physical);
    in.held += series->traces();
    for (const AWave* w : std::as_const(waves)) {
        ChiKPlot::Live live;
        const int count = w->chi.size();
        auto curve = [&](const QVector<double>& values, double sign, const QPen& pen) {
            live.curves.append({w->kValues, values, count, sign, pen, true});
        };
        curve(w->windowValues, 1, solidPen(Palette::window(), 1));
        // The envelope is drawn mirrored about zero, as the hull of chi.
        curve(w->envelopeValues, 1, solidPen(Palette::envelopeK(), 1));
        curve(w->envelopeValues, -1, solidPen(Palette::envelopeK(), 1));
        if (w == waves.first() && measured->values.size() == count)
            curve(measured->values, 1, solidPen(Palette::measured(), 2));
        curve(w->chi, 1, solidPen(Palette::chi(), 2));
        live.windowPositions = w->ctrl->WindowCtrl->positions;
        // A path's amplitude is drawn as a curve, without handles.
        live.hasEnvelope = w->envelope != nullptr && !w->path;
        if (live.hasEnvelope)
            live.envelopePoints = w->envelope->points;
        // The filtered chi(q) over everything of this wave.
        if (view && view->filtered && w == waves.first())
            live.curves += filteredCurves->traces(*w, measured, held, chiR->rWindow);
        in.live.append(live);
    }

    const AWave& first = *waves.first();
    const QString power = Axes::superscript(first.n);
    in.xTitle = tr("k (Å⁻¹)");
    in.yTitle = valueTitle();
    // The key names the data and the held curves whenever they are shown,
    // and every curve with the Legend option. The live curve is k^n W chi
    // when the window is one of its factors.
    if (view && view->legend)
        in.legend = {{Palette::chi(), 2,
                      first.ctrl->SelWindowF->isChecked() ? tr("k%1·W·χ(k)").arg(power)
                                                          : tr("k%1·χ(k)").arg(power)},
                     {Palette::window(), 1, tr("W(k)")},
                     {Palette::envelopeK(), 1, tr("±F(k)")}};
    if (measured->isLoaded())
        in.legend.append(
            {Palette::measured(), 2, Escaped::text(QFileInfo(measured->path).fileName())});
    if (!held->curves.isEmpty())
        in.legend += held->entries(first);
    in.legend += series->entries();
    // Data beyond the program's grid are not drawn: the plot says so.
    const double gridEnd = first.kValues.value(first.kCount - 1);
    if (measured->isLoaded() && first.kCount > 0 && measured->dataK.last() > gridEnd)
        in.note = tr("Data reach %1 Å⁻¹; shown up to %2 Å⁻¹")
                      .arg(QString::number(measured->dataK.last(), 'f', 2),
                           QString::number(gridEnd, 'f', 2));
    if (view && view->filtered) {
        in.legend.append({Palette::filteredModel(), 2, tr("model χ(q), ±|χ(q)|")});
        if (measured->isLoaded())
            in.legend.append({Palette::filteredData(), 2, tr("data χ(q), ±|χ(q)|")});
    }
    ChiKPlot::paint(*p, DispA->coord, in);
}
