#include "Actions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {
QAction* made(QObject* parent, const char* name, bool checkable) {
    auto* action = new QAction(parent);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}
} // namespace

Actions::Actions(QObject* parent)
    : QObject(parent), axes(made(this, "actionAxes", true)),
      legend(made(this, "actionLegend", true)), physical(made(this, "actionPhysical", true)),
      lockScales(made(this, "actionLockScales", true)),
      filtered(made(this, "actionFiltered", true)), arrange(made(this, "actionArrange", false)),
      openMu(made(this, "actionOpenMu", false)), muWindow(made(this, "actionMuWindow", false)),
      japanese(made(this, "actionJapanese", true)), english(made(this, "actionEnglish", true)) {
    auto* group = new QActionGroup(this);
    for (QAction* a : {japanese, english}) {
        group->addAction(a);
        // Language names are written in their own language.
        a->setProperty("fromFile", true);
    }
    japanese->setText(QStringLiteral("日本語"));
    english->setText(QStringLiteral("English"));
    retranslate();
}

void Actions::addTo(QMenu* view, QMenu* language) const {
    const QList<QAction*> form = view->actions();
    view->insertActions(form.value(0), {axes, legend, physical, lockScales, filtered});
    view->insertActions(form.value(1), {muWindow, arrange});
    language->addActions({japanese, english});
}

void Actions::retranslate() {
    axes->setText(tr("&Axes and units"));
    legend->setText(tr("&Legend"));
    physical->setText(tr("&Physical amplitude"));
    lockScales->setText(tr("Loc&k scales"));
    filtered->setText(tr("Filtered χ(&q)"));
    filtered->setToolTip(tr("Transform the R window of χ(R) (Å) back to k: the shell's χ(q) and "
                            "its amplitude |χ(q)| on the χ(k) plot, q in Å⁻¹"));
    arrange->setText(tr("Arrange &side by side"));
    openMu->setText(tr("Open measured mu(&E)…"));
    muWindow->setText(tr("&mu(E)"));
    japanese->setChecked(Startup::language() == Startup::Language::Japanese);
    english->setChecked(Startup::language() == Startup::Language::English);
}
